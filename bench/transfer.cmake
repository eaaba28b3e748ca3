# Transfer benchmarks: P1/P2 paced at 31250 baud, P3 unpaced throughput, P4 peak memory.
# Built with the rest; run by hand or with `ctest -L bench`.
add_library(transfer_bench_harness STATIC
  ${CMAKE_CURRENT_LIST_DIR}/transfer_harness.cpp ${CMAKE_CURRENT_LIST_DIR}/transfer_harness.h)
target_link_libraries(transfer_bench_harness PUBLIC kelvora::transfer kelvora::sim kelvora::test_support)
target_include_directories(transfer_bench_harness PUBLIC ${CMAKE_CURRENT_LIST_DIR})

foreach(name transfer_paced transfer_throughput transfer_memory)
  add_executable(bench_${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  target_link_libraries(bench_${name} PRIVATE transfer_bench_harness)
  add_test(NAME bench_${name} COMMAND bench_${name})
  set_tests_properties(bench_${name} PROPERTIES LABELS bench TIMEOUT 900)
endforeach()
