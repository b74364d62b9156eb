qmv_add_test(host_routines_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/routines_test.cpp ${CMAKE_CURRENT_LIST_DIR}/hostconfig_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/guard_test.cpp ${CMAKE_CURRENT_LIST_DIR}/components_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/packageunits_test.cpp
  LIBS qmv_host qmv_test_ui)
qmv_add_test(host_search_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/search_test.cpp ${CMAKE_CURRENT_LIST_DIR}/dataaware_test.cpp
  LIBS qmv_host qmv_test_ui)
qmv_add_test(host_baseforms_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/baseforms_test.cpp
  LIBS qmv_host qmv_test_ui)
