# Fails when an engine source includes a header of a layer above its own, or
# when a third-party library's headers (or the browser's runtime) are used
# outside the one place that may see them. Layers, lowest first: platform, core, world, display, input,
# path, network, resources, loop.
# Run: cmake -DSOURCE_DIR=<repository> -P tools/check-layers.cmake
set(layers platform core world display input path network resources loop)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/engine/*.h ${SOURCE_DIR}/engine/*.cpp)
set(problems "")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^engine/([a-z]+)/" _ ${source})
  list(FIND layers ${CMAKE_MATCH_1} own)
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "\"engine/([a-z]+)/")
      list(FIND layers ${CMAKE_MATCH_1} used)
      if(used GREATER own)
        string(APPEND problems "  ${source} includes a higher layer: ${line}\n")
      endif()
    endif()
    # The window library only behind the platform adapter and the window
    # presenter; curses only behind the terminal presenter.
    if(line MATCHES "<SFML/|engine/platform/Sfml.h"
       AND NOT source MATCHES "^engine/(platform/|display/WindowPresenter)")
      string(APPEND problems "  ${source} uses SFML: ${line}\n")
    endif()
    if(line MATCHES "<n?curses" AND NOT source MATCHES "^engine/display/TerminalPresenter")
      string(APPEND problems "  ${source} uses curses: ${line}\n")
    endif()
    # The browser's runtime only behind the platform layer and the page's
    # presenter.
    if(line MATCHES "<emscripten|engine/platform/WebPage.h"
       AND NOT source MATCHES "^engine/(platform/|display/WebPresenter)")
      string(APPEND problems "  ${source} uses the browser: ${line}\n")
    endif()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "Layering broken:\n${problems}")
endif()
message(STATUS "Layering: every include looks down")
