# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop program: Qt 6 Widgets with QtWebEngine. Only views live here;
# every handler calls a controller of the subsystems below.
find_package(Qt6 REQUIRED COMPONENTS Widgets WebEngineWidgets Svg PrintSupport)
set(CMAKE_AUTOMOC ON)
file(GLOB ZORBINTA_QT_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/shell/qt/*.cpp ${CMAKE_SOURCE_DIR}/pages/qt/*.cpp
     ${CMAKE_SOURCE_DIR}/search/qt/*.cpp ${CMAKE_SOURCE_DIR}/update/qt/*.cpp
     ${CMAKE_SOURCE_DIR}/about/qt/*.cpp)
list(FILTER ZORBINTA_QT_SOURCES EXCLUDE REGEX ".*/shell/qt/main\\.cpp$")
list(FILTER ZORBINTA_QT_SOURCES EXCLUDE REGEX ".*/update/qt/QtHttpClient\\.cpp$")
if(ZORBINTA_QT_SOURCES)
  add_library(zorbinta_views STATIC ${ZORBINTA_QT_SOURCES})
  target_link_libraries(zorbinta_views PUBLIC zorbinta_shell zorbinta_net zorbinta_minisign
                        Qt6::Widgets Qt6::WebEngineWidgets Qt6::Svg Qt6::PrintSupport)
  # The window manager's frame extents arrive as X11 events.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
  target_link_libraries(zorbinta_views PRIVATE PkgConfig::XCB)
  # The pictures of the toolbar and the program icon, drawn by the SVG
  # renderer linked above (not by an image plugin that might be missing).
  file(GLOB ZORBINTA_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shell/qt/pictures/*.svg)
  qt_add_resources(zorbinta_views zorbinta_pictures PREFIX "/" BASE ${CMAKE_SOURCE_DIR}/shell/qt
                   FILES ${ZORBINTA_PICTURES} ${CMAKE_SOURCE_DIR}/shell/qt/zorbinta.svg)
  add_executable(zorbinta ${CMAKE_SOURCE_DIR}/shell/qt/main.cpp)
  target_link_libraries(zorbinta PRIVATE zorbinta_views CLI11::CLI11)
  add_dependencies(zorbinta zorbinta_data)
  if(NOT ZORBINTA_SYSTEM_LAYOUT)
    install(TARGETS zorbinta RUNTIME DESTINATION .)
    # The program icon and a desktop entry that names the installed folder.
    install(FILES ${CMAKE_SOURCE_DIR}/shell/qt/zorbinta.svg DESTINATION .)
    install(CODE "
      file(READ \"${CMAKE_SOURCE_DIR}/shell/qt/zorbinta.desktop\" entry)
      string(REPLACE \"Exec=zorbinta\" \"Exec=\\\"\${CMAKE_INSTALL_PREFIX}/zorbinta\\\"\" entry \"\${entry}\")
      string(REPLACE \"Icon=zorbinta\" \"Icon=\${CMAKE_INSTALL_PREFIX}/zorbinta.svg\" entry \"\${entry}\")
      file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/zorbinta.desktop\" \"\${entry}\")
      message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/zorbinta.desktop\")")
  endif()
endif()

# Pictures of the program for the README, and its start-up benchmark.
if(TARGET zorbinta_views AND ZORBINTA_SCREENSHOTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(zorbinta-screenshots ${CMAKE_SOURCE_DIR}/tools/screenshots.cpp
                                      ${CMAKE_SOURCE_DIR}/tests/gui/GuiHarness.h)
  target_link_libraries(zorbinta-screenshots PRIVATE zorbinta_views Qt6::Test)
  target_compile_definitions(zorbinta-screenshots PRIVATE ZORBINTA_APP_DIR="${ZORBINTA_APP_DIR}"
                             ZORBINTA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_dependencies(zorbinta-screenshots zorbinta_data)
  set_target_properties(zorbinta-screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  # The time to the start page, and the same page in a bare web view.
  add_executable(zorbinta-startup-bench ${CMAKE_SOURCE_DIR}/tools/startup_bench.cpp)
  target_link_libraries(zorbinta-startup-bench PRIVATE zorbinta_views)
  add_dependencies(zorbinta-startup-bench zorbinta_data)
  set_target_properties(zorbinta-startup-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  # A click from its X event to the pane's final pixels (scripts/bench-click):
  # the program driven from outside, and its floor, a bare web view.
  add_executable(zorbinta-click-bench ${CMAKE_SOURCE_DIR}/tools/click_bench.cpp
                                      ${CMAKE_SOURCE_DIR}/tests/gui/GuiHarness.h)
  target_link_libraries(zorbinta-click-bench PRIVATE zorbinta_views Qt6::Test)
  target_compile_definitions(zorbinta-click-bench PRIVATE ZORBINTA_APP_DIR="${ZORBINTA_APP_DIR}")
  add_executable(zorbinta-click-floor ${CMAKE_SOURCE_DIR}/tools/click_floor.cpp)
  target_link_libraries(zorbinta-click-floor PRIVATE Qt6::WebEngineWidgets)
  set_target_properties(zorbinta-click-bench zorbinta-click-floor PROPERTIES
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()
