# Texts shown whole, titles, Qt's own dialogs and message boxes under keys held down.
qmv_add_realwindow_test(realwindow_visible_test 1280 800 ${CMAKE_CURRENT_LIST_DIR}/visible_test.cpp)
