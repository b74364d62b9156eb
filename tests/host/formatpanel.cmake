# TFormatPanel on a plain and a data-bound editor, offscreen.
qmv_add_test(formatpanel_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/formatpanel_test.cpp
  LIBS qmv_host)
