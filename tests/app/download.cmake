# Download... from the main window against the simulated sampler.
kelvora_tests(qtest LIBS kelvora::app kelvora::test_support Qt6::Widgets
  TEST app_download_test app_download_test.cpp ${KELVORA_APP_TEST_SUPPORT})
target_include_directories(app_download_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
