# Audio conversion benchmarks: the converted path's throughput and its peak memory for a long
# file against a short one. Run by hand or with `ctest -L bench`.
add_library(audio_bench_files STATIC
  ${CMAKE_CURRENT_LIST_DIR}/audio_files.cpp ${CMAKE_CURRENT_LIST_DIR}/audio_files.h)
target_link_libraries(audio_bench_files PUBLIC transfer_bench_harness)

foreach(name audio_conversion audio_memory)
  add_executable(bench_${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  target_link_libraries(bench_${name} PRIVATE audio_bench_files)
  add_test(NAME bench_${name} COMMAND bench_${name})
  set_tests_properties(bench_${name} PROPERTIES LABELS bench TIMEOUT 900)
endforeach()
