# The upload dialog against the simulated sampler, with WAV files written by the test.
kelvora_qtest(dialogs_upload_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/upload_form_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/editor/ViewSession.cpp
  LIBS kelvora::dialogs kelvora::sim Qt6::Multimedia)
