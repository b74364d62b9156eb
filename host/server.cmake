# The result check and the busy indicator that every remote call goes through.
target_sources(qmv_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/checkresultserv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/busyindicator.cpp)
