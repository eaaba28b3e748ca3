# The device and channel pickers, on the offscreen platform.
kelvora_qtest(controls_pickers_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/controls_pickers_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UiTestSupport.cpp
  LIBS kelvora::controls Qt6::Widgets)
