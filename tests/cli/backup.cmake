# kelvora-cli backup, backup --verify and restore, run as the real program against the built-in
# simulated sampler, interrupted by signals as a user or a system would.
kelvora_gtest(cli_backup_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cli_backup_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/cli_backup_signal_test.cpp
  LIBS kelvora_cli_runner kelvora::sim)
add_dependencies(cli_backup_test kelvora-cli)
