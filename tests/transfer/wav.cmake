# WAV reading, writing, the upload's refusals and frame conversion.
add_library(kelvora_wav_scratch STATIC
  ${PROJECT_SOURCE_DIR}/src/transfer/RiffFile.cpp ${PROJECT_SOURCE_DIR}/src/transfer/WavWriter.cpp
  ${PROJECT_SOURCE_DIR}/src/transfer/UploadCheck.cpp ${PROJECT_SOURCE_DIR}/src/transfer/FrameConversion.cpp)
target_include_directories(kelvora_wav_scratch PUBLIC ${PROJECT_SOURCE_DIR}/src)
kelvora_gtest(wav_test
  SOURCES wav_reader_test.cpp wav_writer_test.cpp wav_conversion_test.cpp
          wav_upload_check_test.cpp wav_support.cpp
  LIBS kelvora_wav_scratch)
