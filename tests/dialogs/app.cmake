# Preferences, the connection-failure dialog, the welcome and About, on the offscreen platform.
set(ui_support ${PROJECT_SOURCE_DIR}/tests/controls/UiTestSupport.cpp)
kelvora_tests(qtest LIBS kelvora::dialogs kelvora::test_support Qt6::Widgets
  TEST noeps_test noeps_test.cpp ${ui_support}
  TEST guidance_test guidance_test.cpp ${ui_support}
  TEST prefs_test prefs_test.cpp ${ui_support} LIBS kelvora::sim)
foreach(test noeps_test guidance_test prefs_test)
  target_include_directories(${test} PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
endforeach()
