# Download... from the main window against the simulated sampler.
kelvora_tests(qtest LIBS kelvora::test_main_window
  TEST app_download_test app_download_test.cpp)
