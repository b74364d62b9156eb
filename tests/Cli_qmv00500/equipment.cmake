# The equipment list, the equipment inclusion dialog and the product/recipe list, on the real server.
qmv_add_test(mainscreen_lists_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/lists_test.cpp
             ${CMAKE_CURRENT_LIST_DIR}/inclusion_test.cpp LIBS qmv_loaded_testsupport)
