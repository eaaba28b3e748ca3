# The debug log: banners, media, dump rows; the monitor runs on a private D-Bus session bus.
kelvora_gtest(log_device_test
  SOURCES log_device_test.cpp log_serial_test.cpp log_dump_test.cpp log_support.cpp
  LIBS kelvora::diagnostics)
kelvora_gtest(log_monitor_test
  SOURCES log_monitor_test.cpp log_support.cpp
  LIBS kelvora::dbusmonitor)
kelvora_gtest(log_concurrency_test
  SOURCES log_concurrency_test.cpp log_support.cpp
  LIBS kelvora::diagnostics
  LABELS concurrency)
