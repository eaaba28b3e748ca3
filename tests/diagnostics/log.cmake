# The debug log: banners, media, dump rows; the monitor runs on a private D-Bus session bus.
kelvora_tests(gtest LIBS kelvora::diagnostics kelvora::test_support
  TEST log_device_test log_device_test.cpp log_serial_test.cpp log_dump_test.cpp log_support.cpp
  TEST log_monitor_test log_monitor_test.cpp log_support.cpp LIBS kelvora::dbusmonitor
  TEST log_concurrency_test log_concurrency_test.cpp log_support.cpp LABELS concurrency)
