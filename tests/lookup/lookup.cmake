qmv_add_test(lookup_sql_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sqlpacket_test.cpp ${CMAKE_CURRENT_LIST_DIR}/lookupdb.cpp
  LIBS qmv_lookup)
qmv_add_test(lookup_query_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tadoibquery_test.cpp ${CMAKE_CURRENT_LIST_DIR}/lookupdb.cpp
  LIBS qmv_lookup)
qmv_add_test(lookup_codelookup_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/codelookup_test.cpp ${CMAKE_CURRENT_LIST_DIR}/lookupdb.cpp
  LIBS qmv_lookup qmv_test_ui)
qmv_add_test(lookup_focusregion_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/focusregion_test.cpp
  LIBS qmv_lookup qmv_test_ui)
if(TARGET qmv_appserver_demo)
  qmv_add_test(lookup_appschema_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/appschema_test.cpp
    LIBS qmv_lookup qmv_appserver_demo)
endif()
