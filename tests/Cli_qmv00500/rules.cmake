# The main screen's rules that need no window.
qmv_add_test(mainscreen_rules_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/rules_test.cpp LIBS Cli_qmv00500)
