# Back Up Sampler... and Restore... of the File menu against the simulated sampler.
kelvora_tests(qtest LIBS kelvora::test_main_window kelvora::batch
  TEST app_backup_test app_backup_test.cpp)
