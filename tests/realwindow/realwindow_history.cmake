# The history dialog restoring an order and a photo (after realwindow.cmake, which defines the helper).
qmv_add_realwindow_test(realwindow_history_test 1280 800 ${CMAKE_CURRENT_LIST_DIR}/history_test.cpp)
