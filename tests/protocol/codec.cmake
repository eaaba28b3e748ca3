# The SysEx codec, the parameter records, the name codec and the occupancy tables.
kelvora_gtest(protocol_codec_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/codec_sysex_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/codec_reader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/codec_records_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/codec_names_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/codec_occupancy_test.cpp
  LIBS kelvora::protocol)
