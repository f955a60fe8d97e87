# The browser build played in headless Chromium (label web). The pages come
# from `make web` (TW_WEB_BUILD, build-web/ by default), which `make test`
# runs first; the driver is Node's own WebSocket speaking the DevTools
# protocol. The replay test replays a session that a native test recorded.
set(TW_WEB_BUILD ${PROJECT_SOURCE_DIR}/build-web CACHE PATH "The browser build the web tests play")
find_program(TW_NODE node)
set(tw_web_work ${CMAKE_CURRENT_BINARY_DIR}/web-work)
file(MAKE_DIRECTORY ${tw_web_work})

add_executable(web_native_session web/NativeSession.cpp)
target_link_libraries(web_native_session PRIVATE tw_test_support veld_game GTest::gtest
                                                 GTest::gtest_main)
add_dependencies(web_native_session veld_data)
add_test(NAME web_native_session COMMAND web_native_session)
set_tests_properties(web_native_session PROPERTIES LABELS web WORKING_DIRECTORY ${TW_RUNTIME_DIR}
  ENVIRONMENT "TW_WEB_WORK=${tw_web_work};TW_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data"
  FIXTURES_SETUP web_session)

# The pages are the same whatever the native build: a sanitizer build skips them.
if(TW_SANITIZE)
  return()
endif()
set(tw_node_run ${TW_NODE} --experimental-websocket)
add_test(NAME web_veld_page COMMAND ${tw_node_run} ${CMAKE_CURRENT_SOURCE_DIR}/web/veld-page.mjs
         ${TW_WEB_BUILD}/site ${CMAKE_CURRENT_SOURCE_DIR}/data)
add_test(NAME web_replay_page COMMAND ${tw_node_run} ${CMAKE_CURRENT_SOURCE_DIR}/web/replay-page.mjs
         ${TW_WEB_BUILD}/site ${tw_web_work} ${CMAKE_CURRENT_SOURCE_DIR}/data)
add_test(NAME web_consumer_page COMMAND ${tw_node_run}
         ${CMAKE_CURRENT_SOURCE_DIR}/web/consumer-page.mjs ${TW_WEB_BUILD}/consumer/site)
add_test(NAME web_input_page COMMAND ${tw_node_run} ${CMAKE_CURRENT_SOURCE_DIR}/web/input-page.mjs
         ${TW_WEB_BUILD}/test-site)
add_test(NAME web_reload_page COMMAND ${tw_node_run} ${CMAKE_CURRENT_SOURCE_DIR}/web/reload-page.mjs
         ${TW_WEB_BUILD}/site ${PROJECT_SOURCE_DIR}/game)
add_test(NAME web_gallery_pages COMMAND ${tw_node_run} ${CMAKE_CURRENT_SOURCE_DIR}/web/gallery-page.mjs
         ${TW_WEB_BUILD}/site ${PROJECT_SOURCE_DIR})
add_test(NAME web_roguelike_page COMMAND ${tw_node_run}
         ${CMAKE_CURRENT_SOURCE_DIR}/web/roguelike-page.mjs ${TW_WEB_BUILD}/site)
# Pong's page against a native pong host over 127.0.0.1.
add_test(NAME web_pong_page COMMAND ${tw_node_run} ${CMAKE_CURRENT_SOURCE_DIR}/web/pong-page.mjs
         ${TW_WEB_BUILD}/site ${TW_RUNTIME_DIR})
set_tests_properties(web_veld_page web_replay_page web_consumer_page web_input_page web_reload_page
                     web_gallery_pages web_roguelike_page web_pong_page PROPERTIES
  LABELS web TIMEOUT 300 RESOURCE_LOCK chromium)
set_tests_properties(web_replay_page PROPERTIES FIXTURES_REQUIRED web_session)
# Spectators: the watcher page, which the native build puts into its own
# site folder too, watching a native Veld.
add_test(NAME web_spectate_page COMMAND ${tw_node_run}
         ${CMAKE_CURRENT_SOURCE_DIR}/web/spectate-page.mjs ${CMAKE_BINARY_DIR}/site $<TARGET_FILE:veld>)
set_tests_properties(web_spectate_page PROPERTIES LABELS web TIMEOUT 300 RESOURCE_LOCK chromium)
