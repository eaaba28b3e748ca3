# The ALSA sequencer backend: its pure parts, its paced sender, the driver without a sequencer,
# and (label hardware) everything against a real sequencer.
kelvora_gtest(alsa_wire_test SOURCES alsa_wire_test.cpp LIBS kelvora::midi)
kelvora_gtest(alsa_codec_test SOURCES alsa_codec_test.cpp LIBS kelvora::midi)
kelvora_gtest(alsa_sender_test SOURCES alsa_sender_test.cpp LIBS kelvora::midi LABELS concurrency)
kelvora_gtest(alsa_driver_test SOURCES alsa_driver_test.cpp LIBS kelvora::midi)
kelvora_gtest(alsa_hardware_test SOURCES alsa_hardware_test.cpp LIBS kelvora::midi LABELS hardware)
