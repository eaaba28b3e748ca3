# The MIDI ports, DoreRav, the rings, the clock, the device list and the loopback cable; the
# driver threads against the ports (label concurrency) also run under ThreadSanitizer.
kelvora_tests(gtest LIBS kelvora::midi kelvora::test_support
  TEST midi_ports_test ring_test.cpp clock_test.cpp midiout_test.cpp midiin_test.cpp
       devicelist_test.cpp devicematch_test.cpp input_dump_test.cpp midi_support.cpp
  TEST midi_loopback_test loopback_test.cpp ring_concurrency_test.cpp midi_support.cpp
       LABELS concurrency)
