# The ALSA sequencer backend: its pure parts, its paced sender, the driver without a sequencer,
# and (label hardware) everything against a real sequencer.
kelvora_tests(gtest LIBS kelvora::midi
  TEST alsa_wire_test alsa_wire_test.cpp
  TEST alsa_codec_test alsa_codec_test.cpp
  TEST alsa_sender_test alsa_sender_test.cpp LABELS concurrency
  TEST alsa_driver_test alsa_driver_test.cpp
  TEST alsa_hardware_test alsa_hardware_test.cpp LABELS hardware)
