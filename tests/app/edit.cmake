# The Edit commands of the main window against the simulated sampler.
kelvora_qtest(app_edit_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_edit_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  LIBS kelvora::app Qt6::Widgets)
target_include_directories(app_edit_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
