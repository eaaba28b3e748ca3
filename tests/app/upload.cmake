# Uploads from the main window: the Upload... command, the command-line transfer, dropped files.
kelvora_qtest(app_upload_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_upload_test.cpp ${KELVORA_APP_TEST_SUPPORT}
          ${PROJECT_SOURCE_DIR}/tests/transfer/wav_support.cpp
  LIBS kelvora::app Qt6::Widgets)
target_include_directories(app_upload_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls
  ${PROJECT_SOURCE_DIR}/tests/dialogs ${PROJECT_SOURCE_DIR}/tests)
