# The sub-group photo and the automatic display: the walk without windows, then the photo page on
# the real server (demo pictures drawn as the demo data draws them).
qmv_add_test(mainscreen_autodisplay_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/autodisplay_test.cpp LIBS Cli_qmv00500)
qmv_add_test(mainscreen_photos_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/photos_test.cpp
             LIBS qmv_loaded_testsupport qmv_appserver_demo)
