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
#
# The page runtime files every program is linked with: the page around the
# canvas (shell.html) and the page script, one module per job joined in the
# order of TW_PAGE_MODULES (each adds to Module.tw what it does), led by
# tables.js, the numbers the page shares with the engine, written by CMake
# from the engine's headers. From the source tree the modules are the
# engine's and tables.js is written into the build folder; an installed
# browser package (share/tarnwick/web) holds all of them, and its
# TarnwickConfig.cmake sets TW_WEB_SUPPORT_DIR before it includes this file.
# TW_WEB_RUNTIME_FILES lists what `cmake --install` puts into that folder.
# The test hooks module (test-hooks.js) only where TARNWICK_WEB_TEST_HOOKS is
# on (the web tests' and benchmarks' build, tools/build-web.sh).
option(TARNWICK_WEB_TEST_HOOKS "Link the web tests' hooks into every page" OFF)
set(TW_PAGE_MODULES page font painter canvas input pacing audio storage changes)
if(TW_WEB_SUPPORT_DIR)
  set(TW_PAGE_TABLES_JS ${TW_WEB_SUPPORT_DIR}/tables.js)
elseif(EXISTS ${CMAKE_CURRENT_LIST_DIR}/../engine/platform/PageLayout.h)
  get_filename_component(TW_WEB_SUPPORT_DIR ${CMAKE_CURRENT_LIST_DIR}/../engine/platform/web
                         ABSOLUTE)
  set(TW_PAGE_TABLES_JS ${CMAKE_CURRENT_BINARY_DIR}/page/tables.js)
  include(${CMAKE_CURRENT_LIST_DIR}/TarnwickPageTables.cmake)
  tw_write_page_tables(${CMAKE_CURRENT_LIST_DIR}/.. ${TW_PAGE_TABLES_JS})
endif()
# (An installed native package has neither: natively nothing here is used.)
set(TW_WEB_SHELL ${TW_WEB_SUPPORT_DIR}/shell.html)
set(TW_PAGE_SCRIPT ${TW_PAGE_TABLES_JS})
foreach(module IN LISTS TW_PAGE_MODULES)
  list(APPEND TW_PAGE_SCRIPT ${TW_WEB_SUPPORT_DIR}/${module}.js)
endforeach()
set(TW_WEB_RUNTIME_FILES ${TW_PAGE_SCRIPT} ${TW_WEB_SUPPORT_DIR}/test-hooks.js ${TW_WEB_SHELL})
if(TARNWICK_WEB_TEST_HOOKS)
  list(APPEND TW_PAGE_SCRIPT ${TW_WEB_SUPPORT_DIR}/test-hooks.js)
endif()
# Read back inside the function, which runs in the calling game's scope.
set_property(GLOBAL PROPERTY TARNWICK_PAGE_DEPENDS ${TW_PAGE_SCRIPT} ${TW_WEB_SHELL})

if(EMSCRIPTEN)
  # Every program linked with the engine: the loop waits through Asyncify, so
  # the page keeps running while the game's code reads as a plain loop; the
  # page script's modules and the shell. Their paths are the build tree's for
  # the engine's own target and are added again, from the installed folder,
  # to an imported one.
  set(tw_web_files "SHELL:--shell-file ${TW_WEB_SHELL}")
  foreach(module IN LISTS TW_PAGE_SCRIPT)
    list(APPEND tw_web_files "SHELL:--pre-js ${module}")
  endforeach()
  if(TARGET Tarnwick::tarnwick AND NOT TARGET tarnwick)
    # Once, however often the game calls find_package: the script twice
    # would run twice in the page.
    get_target_property(tw_options Tarnwick::tarnwick INTERFACE_LINK_OPTIONS)
    list(FIND tw_options "SHELL:--shell-file ${TW_WEB_SHELL}" tw_found)
    if(tw_found EQUAL -1)
      set_property(TARGET Tarnwick::tarnwick APPEND PROPERTY INTERFACE_LINK_OPTIONS ${tw_web_files})
    endif()
  else()
    target_link_options(tarnwick INTERFACE
      -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1
      -sENVIRONMENT=web -sMINIFY_HTML=0)
    foreach(option IN LISTS tw_web_files)
      target_link_options(tarnwick INTERFACE "$<BUILD_INTERFACE:${option}>")
    endforeach()
  endif()
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
  get_property(depends GLOBAL PROPERTY TARNWICK_PAGE_DEPENDS)
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
