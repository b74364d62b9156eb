# Packets and change sets with their CBOR codec.
target_sources(qmv_packet PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/blobdigest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packetfastpath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packetreader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packetvalue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packetwriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/changetext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wallclock.cpp)
# SHA-256 of large objects (their digests stand for them in change sets).
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
target_link_libraries(qmv_packet PRIVATE OpenSSL::Crypto)
