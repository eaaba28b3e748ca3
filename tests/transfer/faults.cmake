# Every fault the simulated sampler can commit against every session operation, in virtual
# time; the outcome table lands in fault_matrix.txt beside the test program.
kelvora_gtest(fault_matrix_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/fault_matrix_test.cpp
  LIBS kelvora::transfer_fixture)
target_compile_definitions(fault_matrix_test
  PRIVATE KELVORA_MATRIX_FILE="${CMAKE_CURRENT_BINARY_DIR}/fault_matrix.txt")
set_tests_properties(fault_matrix_test PROPERTIES TIMEOUT 900)

# Random operations with random faults; also run by the address-sanitizer build, where
# LeakSanitizer checks that nothing is lost on the way.
kelvora_gtest(soak_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/soak_test.cpp
  LIBS kelvora::transfer_fixture
  LABELS soak)
set_tests_properties(soak_test PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1")

kelvora_gtest(transfer_port_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/stuck_port_test.cpp
  LIBS kelvora::transfer_fixture)

kelvora_gtest(hostile_values_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/hostile_values_test.cpp
  LIBS kelvora::transfer_fixture)
