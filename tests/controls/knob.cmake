# The rotary knob, on the offscreen platform.
kelvora_tests(qtest LIBS kelvora::controls Qt6::Widgets
  TEST controls_knob_tests knob_test.cpp)
