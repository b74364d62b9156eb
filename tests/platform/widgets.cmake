qmv_add_test(platform_widgets_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/widgets_test.cpp
  LIBS qmv_host qmv_test_ui)
