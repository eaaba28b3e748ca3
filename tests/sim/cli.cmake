# kelvora-sim, the simulated sampler as a program: its command line, the program itself driven
# through its pipes, and (label hardware) on a real ALSA sequencer.
kelvora_tests(gtest
  TEST sim_cli_options_test cli_options_test.cpp LIBS kelvora::simcli
  TEST sim_cli_stdio_test cli_stdio_test.cpp cli_child.cpp cli_host.cpp LIBS kelvora::protocol
       DEFINES KELVORA_SIM_PROGRAM="$<TARGET_FILE:kelvora-sim>" DEPENDS kelvora-sim
       LABELS concurrency
  TEST sim_cli_alsa_test cli_alsa_test.cpp cli_child.cpp cli_host.cpp
       LIBS kelvora::midi kelvora::protocol
       DEFINES KELVORA_SIM_PROGRAM="$<TARGET_FILE:kelvora-sim>" DEPENDS kelvora-sim
       LABELS hardware)
