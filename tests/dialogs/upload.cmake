# The upload dialog against the simulated sampler, with WAV files written by the test.
kelvora_tests(qtest LIBS kelvora::dialogs
  TEST dialogs_upload_tests upload_form_test.cpp LIBS kelvora::test_support Qt6::Multimedia)
