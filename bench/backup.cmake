# The whole-sampler backup of the demo sampler through a simulated sampler paced at 31250 baud,
# against the wire time of the bytes the protocol must move. Run by hand or with `ctest -L bench`.
add_executable(bench_backup_paced ${CMAKE_CURRENT_LIST_DIR}/backup_paced.cpp)
target_link_libraries(bench_backup_paced PRIVATE transfer_bench_harness kelvora::batch)
add_test(NAME bench_backup_paced COMMAND bench_backup_paced)
set_tests_properties(bench_backup_paced PROPERTIES LABELS bench TIMEOUT 900)
