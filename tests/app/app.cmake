# The application: main window, settings, start-up, single instance, screenshots. Offscreen.
kelvora_tests(qtest LIBS kelvora::test_main_window
  TEST app_commands_test app_commands_test.cpp
  TEST app_status_test app_status_test.cpp
  TEST app_settings_test app_settings_test.cpp
  TEST app_startup_test app_startup_test.cpp
  TEST app_open_test app_open_test.cpp
  TEST app_shots_test app_shots_test.cpp
  TEST app_instance_test app_instance_test.cpp DEPENDS kelvora
       DEFINES KELVORA_PROGRAM="$<TARGET_FILE:kelvora>")
