# SPDX-License-Identifier: GPL-3.0-or-later
# A system program, as the Debian package installs it: the programs in bin/,
# their read-only files in share/zorbinta/ (the programs look for them there,
# beside their own bin/), and what a desktop shows of it: the menu entry, the
# icon, AppStream metainfo and a man page for each program. The paths are
# fixed, not GNUInstallDirs', because the programs find their files by them.
set(ZORBINTA_APP_ID ru.zorbinta.zorbinta)
set(ZORBINTA_SHARE_DIR share/zorbinta)

set(ZORBINTA_PROGRAMS zorbinta-headless zorbinta-catalogue)
if(TARGET zorbinta)
  list(PREPEND ZORBINTA_PROGRAMS zorbinta)
endif()
install(TARGETS ${ZORBINTA_PROGRAMS} RUNTIME DESTINATION bin)
install(DIRECTORY templ image DESTINATION ${ZORBINTA_SHARE_DIR})
install(FILES style.css data/base.db DESTINATION ${ZORBINTA_SHARE_DIR})

# Man pages from each program's --help, which every one answers without a
# display. They run from PATH so that their usage lines name them plainly.
find_program(HELP2MAN help2man REQUIRED)
set(ZORBINTA_MAN_zorbinta "catalogue of web-hosting offers")
set(ZORBINTA_MAN_zorbinta-headless "the Zorbinta catalogue program driven by a script, without a screen")
set(ZORBINTA_MAN_zorbinta-catalogue "check, export, build and compare Zorbinta catalogue files")
set(ZORBINTA_MAN_PAGES)
foreach(program IN LISTS ZORBINTA_PROGRAMS)
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env "PATH=${ZORBINTA_APP_DIR}:$ENV{PATH}"
            ${HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
            "--name=${ZORBINTA_MAN_${program}}" --output=${page} ${program}
    DEPENDS ${program} VERBATIM)
  list(APPEND ZORBINTA_MAN_PAGES ${page})
endforeach()
add_custom_target(zorbinta_man_pages ALL DEPENDS ${ZORBINTA_MAN_PAGES})
install(FILES ${ZORBINTA_MAN_PAGES} DESTINATION share/man/man1)

if(TARGET zorbinta)
  install(FILES ${CMAKE_SOURCE_DIR}/shell/qt/zorbinta.desktop DESTINATION share/applications
          RENAME ${ZORBINTA_APP_ID}.desktop)
  install(FILES ${CMAKE_SOURCE_DIR}/shell/qt/${ZORBINTA_APP_ID}.metainfo.xml
          DESTINATION share/metainfo)
  # The drawing for every size, and pictures of the usual sizes for menus
  # that take no SVG.
  set(svg ${CMAKE_SOURCE_DIR}/shell/qt/zorbinta.svg)
  install(FILES ${svg} DESTINATION share/icons/hicolor/scalable/apps)
  find_program(RSVG_CONVERT rsvg-convert REQUIRED)
  set(ZORBINTA_ICONS)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}/zorbinta.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
      COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${svg}
      DEPENDS ${svg} VERBATIM)
    list(APPEND ZORBINTA_ICONS ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(zorbinta_icons ALL DEPENDS ${ZORBINTA_ICONS})
endif()
