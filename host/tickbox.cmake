# The tick box pictures of the check lists.
target_sources(qmv_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tickbox.cpp)
