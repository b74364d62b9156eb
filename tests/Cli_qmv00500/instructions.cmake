# The assembly instructions sheet on the loaded screen: import, export, copy, and the record's post.
qmv_add_test(mainscreen_instructions_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/instructions_test.cpp
             LIBS qmv_loaded_testsupport)
