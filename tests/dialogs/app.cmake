# Preferences, the connection-failure dialog, the welcome and About, on the offscreen platform.
kelvora_qtest(noeps_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/noeps_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/controls/UiTestSupport.cpp
  LIBS kelvora::dialogs Qt6::Widgets)
target_include_directories(noeps_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)

kelvora_qtest(guidance_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/guidance_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/controls/UiTestSupport.cpp
  LIBS kelvora::dialogs Qt6::Widgets)
target_include_directories(guidance_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)

kelvora_qtest(prefs_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/prefs_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/controls/UiTestSupport.cpp
  LIBS kelvora::dialogs kelvora::sim Qt6::Widgets)
target_include_directories(prefs_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
