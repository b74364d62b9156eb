# Rich text. qmv_richtext (Qt Core only, so the application server can link it): the RTF parse and
# the HTML writer. In qmv_platform: the reader and writer between RTF and QTextDocument, plain text
# of a document.
add_library(qmv_richtext STATIC
  ${CMAKE_CURRENT_LIST_DIR}/rtfcodepage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtftokenizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtflisttable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfparser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfhtml.cpp)
target_include_directories(qmv_richtext PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(qmv_richtext PUBLIC Qt6::Core)
target_link_libraries(qmv_platform PUBLIC qmv_richtext)

target_sources(qmv_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/rtfqtliststyle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfreader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfwriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plaintext.cpp)
