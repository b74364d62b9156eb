# Undoing a photo import from the import dialog (after pages.cmake, which defines the fixture library).
qmv_add_test(mainscreen_importundo_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/importundo_test.cpp
             LIBS qmv_loaded_testsupport)
