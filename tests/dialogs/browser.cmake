# The instrument and wavesample browser, its list fillers and its small dialogs.
kelvora_tests(qtest LIBS kelvora::dialogs kelvora::test_windows
  TEST dialogs_browser_lists_tests browser_lists_test.cpp
  TEST dialogs_browser_tests browser_dialog_test.cpp)
