# The transfer progress window.
kelvora_qtest(dialogs_status_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/status_form_test.cpp
  LIBS kelvora::dialogs)
