# Uploads from the main window: the Upload... command, the command-line transfer, dropped files.
kelvora_tests(qtest LIBS kelvora::test_main_window kelvora::transfer_fixture
  TEST app_upload_test app_upload_test.cpp)
