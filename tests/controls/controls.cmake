# The device and channel pickers, on the offscreen platform.
kelvora_tests(qtest LIBS kelvora::controls kelvora::test_support Qt6::Widgets
  TEST controls_pickers_test controls_pickers_test.cpp UiTestSupport.cpp)
