# The SysEx codec, the parameter records, the name codec and the occupancy tables.
kelvora_tests(gtest LIBS kelvora::protocol
  TEST protocol_codec_tests codec_sysex_test.cpp codec_reader_test.cpp codec_records_test.cpp
       codec_names_test.cpp codec_occupancy_test.cpp)
