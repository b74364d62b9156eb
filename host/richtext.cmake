# TFormatPanel: the formatting bar of the rich-text editors.
target_sources(qmv_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/formatpanel.cpp)
