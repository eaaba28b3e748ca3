# The window program on the kernel's ALSA sequencer, through a virtual MIDI cable (label vm: run
# in the QEMU guest by scripts/vm-tests.sh). It holds cable 3; the far end is kelvora-sim.
kelvora_qtest(app_alsa_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_alsa_test.cpp ${KELVORA_APP_TEST_SUPPORT}
  LIBS kelvora::app Qt6::Widgets
  LABELS vm)
target_include_directories(app_alsa_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/controls)
target_compile_definitions(app_alsa_test PRIVATE KELVORA_SIM_PROGRAM="$<TARGET_FILE:kelvora-sim>")
add_dependencies(app_alsa_test kelvora-sim)
set_tests_properties(app_alsa_test PROPERTIES RESOURCE_LOCK virmidi3)
