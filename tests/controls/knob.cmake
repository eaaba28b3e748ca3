# The rotary knob, on the offscreen platform.
kelvora_qtest(controls_knob_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/knob_test.cpp
  LIBS kelvora::controls Qt6::Widgets)
