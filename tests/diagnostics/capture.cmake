# The debug-log capture that the midi, session and transfer tests share.
add_library(kelvora_log_capture STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DebugLogCapture.cpp ${CMAKE_CURRENT_LIST_DIR}/DebugLogCapture.h)
add_library(kelvora::log_capture ALIAS kelvora_log_capture)
target_include_directories(kelvora_log_capture PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(kelvora_log_capture PUBLIC kelvora::diagnostics)
