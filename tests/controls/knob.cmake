# The rotary knob, on the offscreen platform.
kelvora_tests(qtest LIBS kelvora::controls kelvora::test_windows
  TEST controls_knob_tests knob_test.cpp)
