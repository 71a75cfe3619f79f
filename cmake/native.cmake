# Native build: the portable code and its GoogleTest tests.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB native_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${native_test_sources})
target_link_libraries(native_tests PRIVATE cadsim_model quillon_core GTest::gtest_main GTest::gmock)
target_compile_definitions(native_tests PRIVATE
  QUILLON_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared"
  QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
