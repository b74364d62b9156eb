# The line edit for masked codes and dates, base of the data-aware edits.
target_sources(qmv_platform_widgets PRIVATE ${CMAKE_CURRENT_LIST_DIR}/maskedit.cpp)
