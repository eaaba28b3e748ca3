# ProcessInput decoding a download block already waiting in the input ring.
find_package(benchmark REQUIRED)
add_executable(bench_process_input ${CMAKE_CURRENT_LIST_DIR}/process_input.cpp)
target_link_libraries(bench_process_input PRIVATE kelvora::protocol benchmark::benchmark)
add_test(NAME bench_process_input
         COMMAND bench_process_input --benchmark_min_time=0.2)
set_tests_properties(bench_process_input PROPERTIES LABELS bench)
