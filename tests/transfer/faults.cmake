# Every fault the simulated sampler can commit against every session operation, in virtual
# time (the outcome table lands in fault_matrix.txt beside the test program); random operations
# with random faults, also run by the address-sanitizer build, where LeakSanitizer checks that
# nothing is lost on the way; a port that stops sending; hostile record values.
kelvora_tests(gtest LIBS kelvora::transfer_fixture
  TEST fault_matrix_test fault_matrix_test.cpp TIMEOUT 900
       DEFINES KELVORA_MATRIX_FILE="${CMAKE_CURRENT_BINARY_DIR}/fault_matrix.txt"
  TEST soak_test soak_test.cpp LABELS soak ENVIRONMENT ASAN_OPTIONS=detect_leaks=1
  TEST transfer_port_test stuck_port_test.cpp
  TEST hostile_values_test hostile_values_test.cpp)
