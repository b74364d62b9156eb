# The client of the application server: catalogue, connection, HTTP transport, result check, protocol.
qmv_add_test(server_client_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/catalogue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tnetconnection_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/httptransport_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/httpserver_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/resultcheck_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/changesetprotocol_test.cpp
  LIBS qmv_test_transport qmv_test_ui qmv_server qmv_http)

# The real client against the real application server (the application server's test fixture seeds
# the database and starts the server in-process).
qmv_add_test(server_endtoend_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/endtoend_test.cpp
  LIBS qmv_appserver_testsupport qmv_test_ui qmv_server qmv_http)

# The real client against the real server program, killed, restarted and cut off mid-call.
qmv_add_test(server_faults_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/faults_test.cpp
  LIBS qmv_appserver_testsupport qmv_test_ui qmv_server qmv_http)
target_compile_definitions(server_faults_test PRIVATE QMV_APPSERVER_PROGRAM="$<TARGET_FILE:appserver>")
add_dependencies(server_faults_test appserver)

# The real client against a TLS server with access keys, and the refusal to expose a server without them.
qmv_add_test(server_exposure_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/exposure_test.cpp
  LIBS qmv_appserver_testsupport qmv_test_ui qmv_server qmv_http)

# The real client and server program on PostgreSQL while the test restarts PostgreSQL: alone, since
# every other PostgreSQL suite would lose its connections too.
add_executable(server_pgrestart_test
  ${CMAKE_CURRENT_LIST_DIR}/pgrestart_test.cpp)
target_link_libraries(server_pgrestart_test PRIVATE qmv_appserver_testsupport qmv_test_ui qmv_server)
target_compile_definitions(server_pgrestart_test PRIVATE QMV_APPSERVER_PROGRAM="$<TARGET_FILE:appserver>")
add_dependencies(server_pgrestart_test appserver)
gtest_discover_tests(server_pgrestart_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" RUN_SERIAL TRUE)
