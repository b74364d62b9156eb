# Fake screen packages for the loader's tests, in their own folder as the shell finds packages.
set(QMV_FAKE_PACKAGE_DIR ${CMAKE_CURRENT_BINARY_DIR}/packages)
add_library(tst00001 SHARED ${CMAKE_CURRENT_LIST_DIR}/fakepackage.cpp)
add_library(tst00002 SHARED ${CMAKE_CURRENT_LIST_DIR}/fakepackage.cpp)
target_compile_definitions(tst00002 PRIVATE FAKE_WITHOUT_LOAD_ENTRIES)
foreach(fake tst00001 tst00002)
  target_link_libraries(${fake} PRIVATE Qt6::Core)
  set_target_properties(${fake} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${QMV_FAKE_PACKAGE_DIR})
endforeach()

qmv_add_test(shell_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_test.cpp LIBS qmv_shell qmv_test_ui)
target_compile_definitions(shell_test PRIVATE QMV_FAKE_PACKAGE_DIR="${QMV_FAKE_PACKAGE_DIR}")
add_dependencies(shell_test tst00001 tst00002)

qmv_add_test(packagetable_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/packagetable_test.cpp LIBS qmv_package)

# The package loaded as the host loads it. The test exports its symbols, as the host does, so that the
# package shares its UI seam and configuration.
qmv_add_test(moduleentry_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/moduleentry_test.cpp
             LIBS qmv_test_ui qmv_host qmv_http)
target_compile_definitions(moduleentry_test PRIVATE QMV_PACKAGE_FILE="$<TARGET_FILE:qmv00500>")
set_target_properties(moduleentry_test PROPERTIES ENABLE_EXPORTS ON)
add_dependencies(moduleentry_test qmv00500)
