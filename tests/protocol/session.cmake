# The sampler session against the simulated sampler, in virtual time; the sampler and the cable
# run on threads of their own, so the test also runs under ThreadSanitizer. The fixture is a
# library so that the tests of the transfers and the windows can drive a session the same way:
# link kelvora::session_fixture and include "protocol/SessionFixture.h".
add_library(kelvora_session_fixture STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SessionFixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/SessionRecordingUi.h)
add_library(kelvora::session_fixture ALIAS kelvora_session_fixture)
target_include_directories(kelvora_session_fixture PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(kelvora_session_fixture
  PUBLIC kelvora::protocol kelvora::sim kelvora::log_capture Qt6::Core GTest::gtest)

kelvora_gtest(session_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/session_responses_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_wait_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_devices_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_wavesample_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_instruments_test.cpp
  LIBS kelvora::session_fixture
  LABELS concurrency)
