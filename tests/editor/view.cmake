# The waveform view: its drawing arithmetic, window commands, selection and audition.
kelvora_qtest(editor_painter_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/view_painter_test.cpp
  LIBS kelvora::editor)

kelvora_qtest(editor_view_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/view_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ViewSession.cpp
  LIBS kelvora::editor kelvora::sim)

# Pictures of the view and the browser in <build>/shots, for review.
kelvora_qtest(editor_view_shots
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/view_shots_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ViewSession.cpp
  LIBS kelvora::editor kelvora::dialogs kelvora::sim)
