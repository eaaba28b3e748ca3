# The settings file read and written through the settings library alone.
kelvora_gtest(settings_values_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_values_test.cpp
  LIBS kelvora::settings)
