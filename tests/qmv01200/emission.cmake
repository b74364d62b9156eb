# The manual emission screen: opened from the main screen on the real application server, the PDF
# read back with poppler's pdftotext and pdfimages; cancel and server failures over the recording
# transport.
qmv_add_test(emission_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/emission_test.cpp
  LIBS Cli_qmv01200 qmv_selection_testsupport)
