# How fast the input port hands over bytes that are already in its ring.
find_package(benchmark REQUIRED)
add_executable(midi_read_bench midi_read.cpp)
target_link_libraries(midi_read_bench PRIVATE kelvora::midi benchmark::benchmark)
add_test(NAME midi_read_bench COMMAND midi_read_bench)
set_tests_properties(midi_read_bench PROPERTIES LABELS bench)
