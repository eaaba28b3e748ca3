# kelvora-cli backup, backup --verify and restore, run as the real program against the built-in
# simulated sampler, interrupted by signals as a user or a system would.
kelvora_tests(gtest
  TEST cli_backup_test cli_backup_test.cpp cli_backup_signal_test.cpp
       LIBS kelvora_cli_runner kelvora::sim DEPENDS kelvora-cli)
