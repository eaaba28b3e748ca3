# WAV reading, writing, the upload's refusals and frame conversion.
kelvora_tests(gtest LIBS kelvora::transfer_fixture
  TEST wav_test wav_reader_test.cpp wav_writer_test.cpp wav_conversion_test.cpp
       wav_upload_check_test.cpp)
