# The editing dialogs: the Scale Data envelope editor and the playback mode picker.
kelvora_qtest(dialogs_edit_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/edit_dialogs_test.cpp
  LIBS kelvora::dialogs)
