# Unit tests of the toolkit's number/text functions.
include(GoogleTest)

add_executable(number_text_tests
  ${PROJECT_SOURCE_DIR}/tests/toolkit/number_text_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/runtime/main.cpp
)
target_link_libraries(number_text_tests PRIVATE fw_number_text GTest::gtest)
corvane_test_warnings(number_text_tests)
gtest_discover_tests(number_text_tests DISCOVERY_MODE PRE_TEST)
