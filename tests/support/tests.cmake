# The support library's own tests: its scoped seams and the window tests' modal-window guard.
kelvora_tests(gtest LIBS kelvora::test_support
  TEST support_guards_test ${CMAKE_CURRENT_LIST_DIR}/guards_test.cpp)
if(TARGET kelvora::test_windows)
  kelvora_tests(qtest LIBS kelvora::test_windows
    TEST support_modal_guard_test ${CMAKE_CURRENT_LIST_DIR}/modal_guard_test.cpp)
endif()
