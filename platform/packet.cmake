# Packets and change sets with their CBOR codec, and the wire facts both sides share.
target_sources(qmv_packet PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/answerenvelope.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blobdigest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packetfastpath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packetreader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packetvalue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packetwriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/changetext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/methodfacts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wallclock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wire.cpp)
# Digests of large objects (they stand for them in change sets): XXH3, and SHA-256 from earlier clients.
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
pkg_check_modules(XXHASH REQUIRED IMPORTED_TARGET libxxhash)
target_link_libraries(qmv_packet PRIVATE OpenSSL::Crypto PkgConfig::XXHASH)
