# The application server over real HTTP, in-process, on SQLite (and PostgreSQL when QMV_TEST_PG
# names one).
qmv_add_test(appserver_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/serverfixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fixturedata.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wire_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/units_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/schema_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/subgroups_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/services_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/photos_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/details_test.cpp
  LIBS qmv_appserver)
