# The simulated EPS/ASR sampler: memory model, protocol engine, faults, state file, thread.
kelvora_gtest(sim_engine_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sim_memory_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sim_transfer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sim_commands_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sim_faults_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sim_state_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sim_support.cpp
  LIBS kelvora::sim)
# The sampler's own thread and the MIDI device: also run under ThreadSanitizer.
kelvora_gtest(sim_sampler_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sim_sampler_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sim_support.cpp
  LIBS kelvora::sim
  LABELS concurrency)
