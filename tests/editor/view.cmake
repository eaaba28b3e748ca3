# The waveform view: its drawing arithmetic, window commands, selection and audition.
kelvora_qtest(editor_painter_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/view_painter_test.cpp
  LIBS kelvora::editor)
