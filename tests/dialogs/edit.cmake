# The editing dialogs: the Scale Data envelope editor and the playback mode picker.
kelvora_tests(qtest LIBS kelvora::dialogs kelvora::test_windows
  TEST dialogs_edit_tests edit_dialogs_test.cpp)
