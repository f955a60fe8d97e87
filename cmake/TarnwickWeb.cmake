# The browser build's link settings and the helper a game calls to become a
# web page:
#
#   tarnwick_web_page(<target> [PAGE <name>] [FOLDER <dir>] [DATA <path>...])
#
# Under emcmake cmake it makes <target> the page <FOLDER>/<name>.html (name:
# the target's, FOLDER: <build>/site) with its .js, .wasm and .data beside
# it, preloads each DATA file or folder (relative to the calling
# CMake file) at the root of the program's file system under its own
# name, as the program finds them beside it natively ("src@dest" places src
# at dest instead), and copies the engine's font beside the page. Natively
# it does nothing, so the same CMakeLists.txt builds both.
set(TW_WEB_SUPPORT_DIR ${CMAKE_CURRENT_LIST_DIR}/../engine/platform/web)
get_filename_component(TW_WEB_SUPPORT_DIR ${TW_WEB_SUPPORT_DIR} ABSOLUTE)
# Read back inside the function, which runs in the calling game's scope.
set_property(GLOBAL PROPERTY TARNWICK_WEB_SUPPORT_DIR ${TW_WEB_SUPPORT_DIR})

# The page script: the tables module written from the engine's headers, then
# one module per job, in this order (each adds to Module.tw what it does).
# The test hooks module only where TARNWICK_WEB_TEST_HOOKS is on (the web
# tests' and benchmarks' build, tools/build-web.sh), never in a game's pages.
option(TARNWICK_WEB_TEST_HOOKS "Link the web tests' hooks into every page" OFF)
set(TW_PAGE_TABLES_JS ${CMAKE_CURRENT_BINARY_DIR}/page/tables.js)
if(EXISTS ${TW_WEB_SUPPORT_DIR}/page.js)
  include(${CMAKE_CURRENT_LIST_DIR}/TarnwickPageTables.cmake)
  tw_write_page_tables(${TW_WEB_SUPPORT_DIR}/../../.. ${TW_PAGE_TABLES_JS})
endif()
set(TW_PAGE_SCRIPT ${TW_PAGE_TABLES_JS})
foreach(module page font painter canvas input pacing audio storage changes)
  list(APPEND TW_PAGE_SCRIPT ${TW_WEB_SUPPORT_DIR}/${module}.js)
endforeach()
if(TARNWICK_WEB_TEST_HOOKS)
  list(APPEND TW_PAGE_SCRIPT ${TW_WEB_SUPPORT_DIR}/test-hooks.js)
endif()
set_property(GLOBAL PROPERTY TARNWICK_PAGE_SCRIPT ${TW_PAGE_SCRIPT})

if(EMSCRIPTEN)
  # Every program linked with the engine: the loop waits through Asyncify, so
  # the page keeps running while the game's code reads as a plain loop; the
  # page script's modules and the page around the canvas (shell.html).
  target_link_options(tarnwick INTERFACE
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1
    -sENVIRONMENT=web -sMINIFY_HTML=0
    "SHELL:--shell-file ${TW_WEB_SUPPORT_DIR}/shell.html")
  foreach(module IN LISTS TW_PAGE_SCRIPT)
    target_link_options(tarnwick INTERFACE "SHELL:--pre-js ${module}")
  endforeach()
endif()

function(tarnwick_web_page target)
  if(NOT EMSCRIPTEN)
    return()
  endif()
  cmake_parse_arguments(WEB "" "PAGE;FOLDER" "DATA" ${ARGN})
  if(NOT WEB_PAGE)
    set(WEB_PAGE ${target})
  endif()
  if(NOT WEB_FOLDER)
    set(WEB_FOLDER ${CMAKE_BINARY_DIR}/site)
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${WEB_PAGE} SUFFIX ".html"
                                             RUNTIME_OUTPUT_DIRECTORY ${WEB_FOLDER})
  get_property(support GLOBAL PROPERTY TARNWICK_WEB_SUPPORT_DIR)
  get_property(script GLOBAL PROPERTY TARNWICK_PAGE_SCRIPT)
  set(depends ${script} ${support}/shell.html)
  foreach(item IN LISTS WEB_DATA)
    if(item MATCHES "^(.*)@(.*)$")
      set(source ${CMAKE_MATCH_1})
      set(dest ${CMAKE_MATCH_2})
    else()
      set(source ${item})
      get_filename_component(dest ${item} NAME)
      set(dest /${dest})
    endif()
    get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_LIST_DIR})
    if(NOT EXISTS ${source})
      message(FATAL_ERROR "tarnwick_web_page(${target}): no data file or folder ${source}")
    endif()
    target_link_options(${target} PRIVATE "SHELL:--preload-file ${source}@${dest}")
    if(IS_DIRECTORY ${source})
      file(GLOB_RECURSE files ${source}/*)
      list(APPEND depends ${files})
    else()
      list(APPEND depends ${source})
    endif()
  endforeach()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${depends})
  get_property(font GLOBAL PROPERTY TARNWICK_FONT_FILE)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${font} ${WEB_FOLDER}/tw-font.ttf
    VERBATIM)
endfunction()
