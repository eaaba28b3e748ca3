# The download and upload engines: their arithmetic, round trips and fault runs through the
# simulated sampler.
kelvora_tests(gtest LIBS kelvora::transfer_fixture
  TEST transfer_arithmetic_test transfer_arithmetic_test.cpp
  TEST transfer_engine_test transfer_roundtrip_test.cpp transfer_faults_test.cpp)
