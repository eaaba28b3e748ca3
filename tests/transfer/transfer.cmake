# The download and upload engines: their arithmetic, round trips and fault runs through the
# simulated sampler.
kelvora_gtest(transfer_arithmetic_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/transfer_arithmetic_test.cpp
  LIBS kelvora::transfer_fixture)

kelvora_gtest(transfer_engine_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/transfer_roundtrip_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/transfer_faults_test.cpp
  LIBS kelvora::transfer_fixture)
