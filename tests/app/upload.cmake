# Uploads from the main window: the Upload... command, the command-line transfer, dropped files.
kelvora_tests(qtest LIBS kelvora::app kelvora::test_support Qt6::Widgets
  TEST app_upload_test app_upload_test.cpp ${KELVORA_APP_TEST_SUPPORT}
       ${PROJECT_SOURCE_DIR}/tests/transfer/wav_support.cpp)
target_include_directories(app_upload_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls
  ${PROJECT_SOURCE_DIR}/tests/dialogs ${PROJECT_SOURCE_DIR}/tests)
