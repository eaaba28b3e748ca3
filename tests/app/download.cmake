# Download... from the main window against the simulated sampler.
kelvora_qtest(app_download_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_download_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  LIBS kelvora::app kelvora::log_capture Qt6::Widgets)
target_include_directories(app_download_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
