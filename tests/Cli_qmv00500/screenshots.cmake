# Pictures of the screens for a person to look at: each test saves PNGs into the folder named by
# QMV_SCREENSHOTS and is skipped without it. scripts/screenshots.sh runs them under Xvfb.
qmv_add_test(screenshots_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/screenshots_test.cpp LIBS qmv_loaded_testsupport)
