# The browser's lists and the lazy reading of ten wavesamples' details through a simulated
# sampler paced at 31250 baud. Run by hand or with `ctest -L bench`.
add_executable(bench_browser_details ${CMAKE_CURRENT_LIST_DIR}/browser_details.cpp)
target_link_libraries(bench_browser_details PRIVATE transfer_bench_harness kelvora::batch)
add_test(NAME bench_browser_details COMMAND bench_browser_details)
set_tests_properties(bench_browser_details PROPERTIES LABELS bench TIMEOUT 300)
