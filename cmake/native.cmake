# Native build: the portable code and its GoogleTest tests.
find_package(GTest REQUIRED)
include(${CMAKE_SOURCE_DIR}/cmake/test_groups.cmake)

file(GLOB native_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${native_test_sources})
target_link_libraries(native_tests PRIVATE cadsim_model quillon_test_support quillon_app GTest::gtest_main GTest::gmock)
target_compile_definitions(native_tests PRIVATE
  QUILLON_DXF_DIR="${CMAKE_SOURCE_DIR}/tests/data/dxf"
  QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# Every test file includes GoogleTest; parsed once per tree.
target_precompile_headers(native_tests PRIVATE <gtest/gtest.h> <functional> <memory> <string> <vector>)
quillon_test_groups(native_tests native "${native_test_sources}" $<TARGET_FILE:native_tests> TIMEOUT 300)
