qmv_add_test(dialogs_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/dialogs_test.cpp LIBS qmv_package qmv_test_ui)
