# The waveform view: its drawing arithmetic, window commands, selection and audition; pictures
# of the view and the browser in <build>/shots, for review.
kelvora_tests(qtest LIBS kelvora::editor kelvora::test_windows
  TEST editor_painter_tests view_painter_test.cpp
  TEST editor_view_tests view_window_test.cpp
  TEST editor_view_shots view_shots_test.cpp LIBS kelvora::dialogs)
