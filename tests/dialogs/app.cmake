# Preferences, the connection-failure dialog, the welcome and About, on the offscreen platform.
kelvora_tests(qtest LIBS kelvora::dialogs kelvora::test_windows
  TEST noeps_test noeps_test.cpp
  TEST guidance_test guidance_test.cpp
  TEST prefs_test prefs_test.cpp)
