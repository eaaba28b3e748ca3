# The transfer progress window.
kelvora_tests(qtest LIBS kelvora::dialogs
  TEST dialogs_status_tests status_form_test.cpp)
