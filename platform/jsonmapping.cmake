# The JSON form of wire values, shared by the application server and its client.
target_sources(qmv_packet PRIVATE ${CMAKE_CURRENT_LIST_DIR}/jsonmapping.cpp)
