# SPDX-License-Identifier: GPL-3.0-or-later
# The include check run over tests/layers/, a tree of planted files: each
# file that says "Wrong:" must be reported, each that says "Right:" must not,
# and the check must fail.
#   cmake -DROOT=<tests/layers> -DCHECK=<cmake/CheckLayers.cmake> -P layers_check.cmake
file(GLOB_RECURSE planted RELATIVE ${ROOT} ${ROOT}/*.h ${ROOT}/*.cpp)
string(RANDOM LENGTH 8 run)
set(list ${CMAKE_CURRENT_BINARY_DIR}/layers-planted-${run}.txt)
list(JOIN planted "\n" lines)
file(WRITE ${list} "${lines}\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${ROOT} -DFILES=${list} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(REMOVE ${list})
set(failures "")
if(result EQUAL 0)
  string(APPEND failures "the check passed a tree with wrong includes\n")
endif()
foreach(file IN LISTS planted)
  file(READ ${ROOT}/${file} text)
  string(FIND "${out}" "LAYERS: ${file}: includes " at)
  if(text MATCHES "// Wrong:" AND at LESS 0)
    string(APPEND failures "not reported: ${file}\n")
  elseif(text MATCHES "// Right:" AND NOT at LESS 0)
    string(APPEND failures "reported, though right: ${file}\n")
  endif()
endforeach()
if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}The check said:\n${out}")
endif()
