# The sampler session against the simulated sampler, in virtual time.
kelvora_gtest(session_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/session_responses_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_wait_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_devices_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_wavesample_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_instruments_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionFixture.cpp
  LIBS kelvora::protocol kelvora::sim Qt6::Core)
