# The pages, the sub-group sheet and the commands of the main screen, loaded on the real server.
add_library(qmv_loaded_testsupport STATIC ${CMAKE_CURRENT_LIST_DIR}/loadedscreen.cpp)
target_link_libraries(qmv_loaded_testsupport PUBLIC qmv_selection_testsupport qmv_package)
qmv_add_test(mainscreen_pages_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/pages_test.cpp
             ${CMAKE_CURRENT_LIST_DIR}/subgroups_test.cpp
             ${CMAKE_CURRENT_LIST_DIR}/dates_test.cpp
             ${CMAKE_CURRENT_LIST_DIR}/dialogs_test.cpp LIBS qmv_loaded_testsupport)
