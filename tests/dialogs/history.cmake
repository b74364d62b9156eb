# The history dialog's lines, without widgets.
qmv_add_test(dialogs_history_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/historylines_test.cpp LIBS Cli_qmv00507 qmv_test_main)
