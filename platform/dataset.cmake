# The in-memory dataset, its fields and data sources, filters, edit masks and display formats.
target_sources(qmv_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dataset.cpp
  ${CMAKE_CURRENT_LIST_DIR}/datasetnavigation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/datasetchangelog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field.cpp
  ${CMAKE_CURRENT_LIST_DIR}/datasource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filterexpr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editmask.cpp
  ${CMAKE_CURRENT_LIST_DIR}/displayformat.cpp)
