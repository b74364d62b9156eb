qmv_add_test(mainscreen_layout_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/layout_test.cpp
             LIBS qmv_package qmv_test_ui qmv_test_transport)
