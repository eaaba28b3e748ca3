# The instrument and wavesample browser, its list fillers, its details and its small dialogs.
kelvora_tests(qtest LIBS kelvora::dialogs kelvora::test_windows
  TEST dialogs_browser_lists_tests browser_lists_test.cpp
  TEST dialogs_browser_tests browser_dialog_test.cpp
  TEST dialogs_browser_details_tests browser_details_test.cpp)
