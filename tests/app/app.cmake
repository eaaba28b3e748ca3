# The application: main window, settings, start-up, single instance, screenshots. Offscreen.
set(KELVORA_APP_TEST_SUPPORT
  ${CMAKE_CURRENT_LIST_DIR}/AppTestSupport.cpp
  ${PROJECT_SOURCE_DIR}/tests/controls/UiTestSupport.cpp)

kelvora_tests(qtest LIBS kelvora::app kelvora::test_support Qt6::Widgets
  TEST app_commands_test app_commands_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  TEST app_status_test app_status_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  TEST app_settings_test app_settings_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  TEST app_startup_test app_startup_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  TEST app_open_test app_open_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  TEST app_shots_test app_shots_test.cpp ${KELVORA_APP_TEST_SUPPORT})
foreach(test app_commands_test app_status_test app_settings_test app_startup_test
             app_open_test app_shots_test)
  target_include_directories(${test} PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
endforeach()

# Starts the program itself.
kelvora_tests(qtest LIBS kelvora::app kelvora::test_support Qt6::Widgets
  TEST app_instance_test app_instance_test.cpp DEPENDS kelvora
       DEFINES KELVORA_PROGRAM="$<TARGET_FILE:kelvora>")
