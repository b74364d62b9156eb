# The application server over real HTTP, in-process, on SQLite (and PostgreSQL when QMV_TEST_PG
# names one). The database and server fixture is shared by both test programs.
add_library(qmv_appserver_testsupport STATIC
  ${CMAKE_CURRENT_LIST_DIR}/serverfixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fixturedata.cpp)
target_link_libraries(qmv_appserver_testsupport PUBLIC qmv_appserver qmv_test_main)

qmv_add_test(appserver_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/wire_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serving_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/units_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sqlitestream_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/walwritebatch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/schema_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/subgroups_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/services_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/photos_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/details_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/values_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accesskeys_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metrics_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/emission_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history_test.cpp
  LIBS qmv_appserver_testsupport SQLite::SQLite3)

# The program itself: command line, demo option, clean stop on signals.
qmv_add_test(appserver_program_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_test.cpp
  LIBS qmv_http)
target_compile_definitions(appserver_program_test PRIVATE QMV_APPSERVER_PROGRAM="$<TARGET_FILE:appserver>")
add_dependencies(appserver_program_test appserver)

# The demo database generator (draws its pictures with QtGui).
qmv_add_test(appserver_demo_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/demo_test.cpp
  LIBS qmv_appserver_testsupport qmv_appserver_demo)

# The web view of the manual: access, sessions, caching headers, thumbnails.
qmv_add_test(appserver_web_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/web_test.cpp
  LIBS qmv_appserver_testsupport)
