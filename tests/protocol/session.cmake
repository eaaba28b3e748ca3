# The sampler session against the simulated sampler, in virtual time; the sampler and the cable
# run on threads of their own, so the test also runs under ThreadSanitizer.
kelvora_tests(gtest LIBS kelvora::test_fixture
  TEST session_test session_responses_test.cpp session_wait_test.cpp session_devices_test.cpp
       session_wavesample_test.cpp session_instruments_test.cpp session_records_test.cpp
       LABELS concurrency)
