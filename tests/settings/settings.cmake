# The settings file read and written through the settings library alone.
kelvora_tests(gtest LIBS kelvora::settings
  TEST settings_values_test settings_values_test.cpp)
