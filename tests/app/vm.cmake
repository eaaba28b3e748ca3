# The window program on the kernel's ALSA sequencer, through a virtual MIDI cable (label vm: run
# in the QEMU guest by scripts/vm-tests.sh). It holds cable 3; the far end is kelvora-sim.
kelvora_tests(qtest LIBS kelvora::test_main_window
  TEST app_alsa_test app_alsa_test.cpp LABELS vm
       DEFINES KELVORA_SIM_PROGRAM="$<TARGET_FILE:kelvora-sim>" DEPENDS kelvora-sim)
set_tests_properties(app_alsa_test PROPERTIES RESOURCE_LOCK virmidi3)
