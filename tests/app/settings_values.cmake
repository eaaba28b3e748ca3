# Preference values out of range, read through the settings class alone.
kelvora_gtest(settings_values_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/settings_values_test.cpp
    ${PROJECT_SOURCE_DIR}/src/app/Settings.cpp
  LIBS Qt6::Widgets)
target_include_directories(settings_values_test PRIVATE ${PROJECT_SOURCE_DIR}/src)
