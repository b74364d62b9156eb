# qmv_test_ui: the scripted UI seam for tests.
add_library(qmv_test_ui STATIC ${CMAKE_CURRENT_LIST_DIR}/scriptedui.cpp)
target_link_libraries(qmv_test_ui PUBLIC qmv_host GTest::gtest Qt6::Widgets)
target_include_directories(qmv_test_ui PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
