# Rich text: RTF reader and writer between RTF and QTextDocument, plain text of a document.
target_sources(qmv_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/rtfcodepage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtftokenizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtflisttable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfreader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfwriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plaintext.cpp)
