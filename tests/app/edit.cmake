# The Edit commands of the main window against the simulated sampler.
kelvora_tests(qtest LIBS kelvora::test_main_window
  TEST app_edit_test app_edit_test.cpp)
