# Journeys through the real windows: the shell and the main screen with the real Qt UI on a private
# Xvfb display managed by openbox, started by each test process itself (see realwindowmain.cpp).
add_library(qmv_realwindow_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/virtualdisplay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/realshell.cpp)
target_link_libraries(qmv_realwindow_support PUBLIC Cli_qmv00500 qmv_shell qmv_appserver_testsupport
                      GTest::gtest Qt6::Test)
target_include_directories(qmv_realwindow_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)

# One executable per screen size; each test runs in a process (and on a display) of its own.
function(qmv_add_realwindow_test name width height)
  add_executable(${name} ${ARGN} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/realwindowmain.cpp)
  target_link_libraries(${name} PRIVATE qmv_realwindow_support)
  target_compile_definitions(${name} PRIVATE QMV_SCREEN_WIDTH=${width} QMV_SCREEN_HEIGHT=${height})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120 LABELS realwindow)
endfunction()

qmv_add_realwindow_test(realwindow_test 1280 800 ${CMAKE_CURRENT_LIST_DIR}/journeys_test.cpp)
qmv_add_realwindow_test(realwindow640_test 640 480 ${CMAKE_CURRENT_LIST_DIR}/smallscreen_test.cpp)
qmv_add_realwindow_test(realwindow_typedcell_test 1280 800 ${CMAKE_CURRENT_LIST_DIR}/typedcell_test.cpp)
