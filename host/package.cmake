# What screens and packages share with the shell: the child-window host, the wait cursor, and the
# package contract (entry points, unit table and its runner).
target_sources(qmv_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/childhost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/waitcursor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packageunits.cpp
)
