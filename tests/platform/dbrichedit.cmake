# The data-bound rich-text editor on a real dataset, offscreen.
qmv_add_test(dbrichedit_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/dbrichedit_test.cpp
  LIBS qmv_platform_widgets)
