# The instrument and wavesample browser, its list fillers and its small dialogs.
kelvora_qtest(dialogs_browser_lists_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/browser_lists_test.cpp
  LIBS kelvora::dialogs)

kelvora_qtest(dialogs_browser_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/browser_dialog_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/editor/ViewSession.cpp
  LIBS kelvora::dialogs kelvora::sim)
