# Audio files of any format into upload words: the rates, the paths, the conversion's parts
# and what an upload costs. No sampler involved.
kelvora_gtest(audio_source_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sampler_rates_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/audio_parts_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/audio_source_test.cpp
  LIBS kelvora::transfer_fixture)

# Audio files of every format through the simulated sampler and back.
kelvora_gtest(audio_upload_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/audio_upload_test.cpp
  LIBS kelvora::transfer_fixture)
