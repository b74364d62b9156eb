# The principal sub-group's code box, with the journeys (after realwindow.cmake, which defines them).
target_sources(realwindow_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/principal_test.cpp)
