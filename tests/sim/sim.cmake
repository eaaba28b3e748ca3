# The simulated EPS/ASR sampler: memory model, protocol engine, faults, state file, thread; the
# sampler's own thread and the MIDI device (label concurrency) also run under ThreadSanitizer.
kelvora_tests(gtest LIBS kelvora::sim kelvora::test_support
  TEST sim_engine_test sim_memory_test.cpp sim_transfer_test.cpp sim_commands_test.cpp
       sim_faults_test.cpp sim_state_test.cpp sim_support.cpp
  TEST sim_sampler_test sim_sampler_test.cpp sim_support.cpp LABELS concurrency)
