# RTF reader, writer and tokenizer on hand-written samples and malformed input.
qmv_add_test(richtext_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/richtext_reader_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/richtext_writer_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/richtext_malformed_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/richtext_table_test.cpp
  LIBS qmv_platform)
target_compile_definitions(richtext_test PRIVATE QMV_RTF_SAMPLES="${CMAKE_SOURCE_DIR}/tests/data/rtf")

# The HTML writer alone, on Qt Core.
qmv_add_test(richtext_html_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/richtext_html_test.cpp
  LIBS qmv_richtext)
