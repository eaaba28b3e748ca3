# kelvora-sim, the simulated sampler as a program: its command line, the program itself driven
# through its pipes, and (label hardware) on a real ALSA sequencer.
kelvora_gtest(sim_cli_options_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cli_options_test.cpp
  LIBS kelvora::simcli)
kelvora_gtest(sim_cli_stdio_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cli_stdio_test.cpp ${CMAKE_CURRENT_LIST_DIR}/cli_child.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cli_host.cpp
  LIBS kelvora::protocol
  LABELS concurrency)
target_compile_definitions(sim_cli_stdio_test PRIVATE
  KELVORA_SIM_PROGRAM="$<TARGET_FILE:kelvora-sim>")
add_dependencies(sim_cli_stdio_test kelvora-sim)
kelvora_gtest(sim_cli_alsa_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cli_alsa_test.cpp ${CMAKE_CURRENT_LIST_DIR}/cli_child.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cli_host.cpp
  LIBS kelvora::midi kelvora::protocol
  LABELS hardware)
target_compile_definitions(sim_cli_alsa_test PRIVATE
  KELVORA_SIM_PROGRAM="$<TARGET_FILE:kelvora-sim>")
add_dependencies(sim_cli_alsa_test kelvora-sim)
