# The MIDI ports, DoreRav, the rings, the clock, the device list and the loopback cable.
kelvora_gtest(midi_ports_test
  SOURCES ring_test.cpp clock_test.cpp midiout_test.cpp midiin_test.cpp devicelist_test.cpp
          devicematch_test.cpp
          input_dump_test.cpp midi_support.cpp
  LIBS kelvora::midi kelvora::log_capture)
# Driver threads against the ports: also run under ThreadSanitizer.
kelvora_gtest(midi_loopback_test
  SOURCES loopback_test.cpp ring_concurrency_test.cpp midi_support.cpp
  LIBS kelvora::midi kelvora::log_capture
  LABELS concurrency)
