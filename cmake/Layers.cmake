# SPDX-License-Identifier: GPL-3.0-or-later
# The subsystems from the bottom up, each with the subsystems it builds on.
# Read by the build, which makes one library of each that links exactly
# these, and by CheckLayers.cmake, which fails the build when a file includes
# a header of a subsystem that its own does not build on. A subsystem may
# only build on ones listed before it, so the graph has no cycle.
set(ZORBINTA_LAYERS catalogue platform search about update pages router shell)
set(ZORBINTA_LAYER_catalogue)
set(ZORBINTA_LAYER_platform)
set(ZORBINTA_LAYER_search catalogue platform)
set(ZORBINTA_LAYER_about platform)
set(ZORBINTA_LAYER_update catalogue platform)
set(ZORBINTA_LAYER_pages catalogue platform search)
set(ZORBINTA_LAYER_router catalogue pages platform search)
set(ZORBINTA_LAYER_shell about catalogue pages platform router search update)

# Inside a subsystem's folder: its library (core/, standard C++ only), the
# signature check on libsodium (minisign/), the Qt views and the HTTP client
# (qt/), the headless driver (headless/). A file may include its own kind
# and the kinds before it, never one after.
set(ZORBINTA_LAYER_KINDS core minisign qt headless)

# Every subsystem that layer may include from: itself and all it builds on,
# directly or not.
function(zorbinta_layer_reach layer out)
  set(reach ${layer})
  list(FIND ZORBINTA_LAYERS ${layer} at)
  foreach(below IN LISTS ZORBINTA_LAYER_${layer})
    list(FIND ZORBINTA_LAYERS ${below} below_at)
    if(below_at LESS 0 OR NOT below_at LESS at)
      message(FATAL_ERROR "Layers: ${layer} builds on ${below}, which is not below it")
    endif()
    zorbinta_layer_reach(${below} below_reach)
    list(APPEND reach ${below_reach})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set(${out} ${reach} PARENT_SCOPE)
endfunction()
