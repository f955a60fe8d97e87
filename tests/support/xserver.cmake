# The virtual X server fixture (xserver) that window tests require: one test
# starts Xvfb on TW_TEST_DISPLAY (or reuses a live server there), another stops
# it after the last window test. See support/xserver.sh.
set(TW_XSERVER_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/support/xserver.sh)
add_test(NAME xserver_start COMMAND sh ${TW_XSERVER_SCRIPT} start ${TW_TEST_DISPLAY})
set_tests_properties(xserver_start PROPERTIES FIXTURES_SETUP xserver LABELS window TIMEOUT 30)
add_test(NAME xserver_stop COMMAND sh ${TW_XSERVER_SCRIPT} stop ${TW_TEST_DISPLAY})
set_tests_properties(xserver_stop PROPERTIES FIXTURES_CLEANUP xserver LABELS window TIMEOUT 30)
