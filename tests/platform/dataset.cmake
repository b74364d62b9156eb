# Packets, change sets and the in-memory dataset.
qmv_add_test(packet_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/packet_test.cpp LIBS qmv_packet)
qmv_add_test(dataset_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/dataset_state_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/dataset_changelog_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/dataset_filter_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/field_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/editmask_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/wallclock_test.cpp
  LIBS qmv_platform)
