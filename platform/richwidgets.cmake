# The data-bound rich-text editor (RTF or plain text stored in a field).
target_sources(qmv_platform_widgets PRIVATE ${CMAKE_CURRENT_LIST_DIR}/dbrichedit.cpp)
