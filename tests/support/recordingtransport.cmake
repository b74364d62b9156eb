# qmv_test_transport: the recording transport that pins argument orders and protocols in tests.
add_library(qmv_test_transport STATIC ${CMAKE_CURRENT_LIST_DIR}/recordingtransport.cpp)
target_link_libraries(qmv_test_transport PUBLIC qmv_server)
target_include_directories(qmv_test_transport PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
