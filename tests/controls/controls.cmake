# The device and channel pickers, on the offscreen platform.
kelvora_tests(qtest LIBS kelvora::controls kelvora::test_windows
  TEST controls_pickers_test controls_pickers_test.cpp)
