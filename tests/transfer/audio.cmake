# Audio files of any format into upload words: the rates, the paths, the conversion's parts and
# what an upload costs, with no sampler involved; then every format through the simulated
# sampler and back, and the files downloads write.
kelvora_tests(gtest LIBS kelvora::transfer_fixture
  TEST audio_source_test sampler_rates_test.cpp audio_parts_test.cpp audio_source_test.cpp
  TEST audio_upload_test audio_upload_test.cpp download_file_test.cpp)
