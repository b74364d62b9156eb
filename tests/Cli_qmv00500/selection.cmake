# The selection panel over the recording transport and over the real application server.
add_library(qmv_selection_testsupport STATIC ${CMAKE_CURRENT_LIST_DIR}/selectionscreen.cpp)
target_link_libraries(qmv_selection_testsupport PUBLIC Cli_qmv00500 qmv_test_ui qmv_test_transport
                      qmv_appserver_testsupport)
qmv_add_test(selection_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/selection_test.cpp
             LIBS qmv_selection_testsupport)
qmv_add_test(selection_server_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/selection_server_test.cpp
             LIBS qmv_selection_testsupport)
