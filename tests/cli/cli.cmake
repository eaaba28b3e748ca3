# kelvora-cli: the real program driven through its command line against the built-in simulated
# sampler, and its library in-process where virtual time keeps the sampler's time-outs short.
add_library(kelvora_cli_runner STATIC ${CMAKE_CURRENT_LIST_DIR}/CliRunner.cpp
                                      ${CMAKE_CURRENT_LIST_DIR}/CliRunner.h)
target_link_libraries(kelvora_cli_runner PUBLIC kelvora::batch kelvora::transfer kelvora::test_support Qt6::Core
                                        GTest::gtest)
target_compile_definitions(kelvora_cli_runner PRIVATE
  KELVORA_CLI_PROGRAM="$<TARGET_FILE:kelvora-cli>")

kelvora_gtest(cli_program_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cli_program_test.cpp ${CMAKE_CURRENT_LIST_DIR}/cli_ls_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/cli_commands_test.cpp ${CMAKE_CURRENT_LIST_DIR}/cli_upload_test.cpp
  LIBS kelvora_cli_runner)
add_dependencies(cli_program_test kelvora-cli)

kelvora_gtest(cli_library_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cli_connection_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/cli_console_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/cli_upload_options_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/cli_listing_test.cpp
  LIBS kelvora::cli kelvora::test_support
  LABELS concurrency)
