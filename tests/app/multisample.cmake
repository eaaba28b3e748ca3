# Upload Multisample...: the plan window and the upload of several files against the simulated
# sampler.
kelvora_tests(qtest LIBS kelvora::test_main_window kelvora::transfer_fixture
  TEST app_multisample_test app_multisample_test.cpp)
