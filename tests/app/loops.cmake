# The loop tools of the main window (info strip, seam view, snapping, quality mark, Suggest Loop)
# against the simulated sampler's demo content.
kelvora_qtest(app_loops_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_loops_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  LIBS kelvora::app Qt6::Widgets)
target_include_directories(app_loops_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
