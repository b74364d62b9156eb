add_library(qmv_test_main STATIC ${CMAKE_CURRENT_LIST_DIR}/testmain.cpp)
target_link_libraries(qmv_test_main PUBLIC GTest::gtest GTest::gmock Qt6::Widgets Qt6::Test)
target_include_directories(qmv_test_main PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)

# qmv_add_test(name SOURCES... LIBS...): one GoogleTest executable, its tests listed in CTest.
function(qmv_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE qmv_test_main ${T_LIBS})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
