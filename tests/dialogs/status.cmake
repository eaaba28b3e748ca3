# The transfer progress window.
kelvora_tests(qtest LIBS kelvora::dialogs kelvora::test_windows
  TEST dialogs_status_tests status_form_test.cpp)
