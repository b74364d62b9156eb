qmv_add_test(mainscreen_lifecycle_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/lifecycle_test.cpp
             LIBS qmv_package qmv_test_ui qmv_test_transport qmv_http)
