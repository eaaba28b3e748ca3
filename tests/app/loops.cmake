# The loop tools of the main window (info strip, seam view, snapping, quality mark, Suggest Loop)
# against the simulated sampler's demo content.
kelvora_tests(qtest LIBS kelvora::test_main_window
  TEST app_loops_test app_loops_test.cpp)
