# A fuzz build instruments every project library for libFuzzer's coverage and runs it under
# AddressSanitizer and UndefinedBehaviorSanitizer; the fuzz targets link the fuzzer's main.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "KELVORA_FUZZ needs Clang (libFuzzer), not ${CMAKE_CXX_COMPILER_ID}: "
                      "configure with -DCMAKE_CXX_COMPILER=clang++")
endif()
if(KELVORA_SANITIZE)
  message(FATAL_ERROR "KELVORA_FUZZ brings its own sanitizers: leave KELVORA_SANITIZE empty")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
