# The program run as a service: backups while serving, the check of a copy, the configuration file.
qmv_add_test(appserver_operations_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/operations_test.cpp
  LIBS qmv_appserver_testsupport)
target_compile_definitions(appserver_operations_test PRIVATE QMV_APPSERVER_PROGRAM="$<TARGET_FILE:appserver>")
add_dependencies(appserver_operations_test appserver)
