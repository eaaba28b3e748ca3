# The application: main window, settings, start-up, single instance, screenshots. Offscreen.
set(KELVORA_APP_TEST_SUPPORT
  ${CMAKE_CURRENT_LIST_DIR}/AppTestSupport.cpp
  ${PROJECT_SOURCE_DIR}/tests/controls/UiTestSupport.cpp)

foreach(test app_commands_test app_status_test app_settings_test app_startup_test
             app_open_test app_shots_test)
  kelvora_qtest(${test}
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${test}.cpp ${KELVORA_APP_TEST_SUPPORT}
    LIBS kelvora::app Qt6::Widgets)
  target_include_directories(${test} PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
endforeach()

kelvora_qtest(app_instance_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_instance_test.cpp
  LIBS kelvora::app Qt6::Widgets)
if(TARGET kelvora)
  add_dependencies(app_instance_test kelvora)
  target_compile_definitions(app_instance_test PRIVATE KELVORA_PROGRAM="$<TARGET_FILE:kelvora>")
endif()
