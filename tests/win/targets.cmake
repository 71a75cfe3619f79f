# Tests that run under Wine: the COM link against cadsim.exe, the Win32 backends, the
# end-to-end road. ctest runs them through wine on the display ./test provides.
file(GLOB win_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(win_test_sources)
  add_executable(win_tests ${win_test_sources})
  target_link_libraries(win_tests PRIVATE quillon_win cadsim_model quillon_core gtest gtest_main ${win_libs})
  target_compile_definitions(win_tests PRIVATE
    QUILLON_SHARED_DIR="Z:${CMAKE_SOURCE_DIR}/../shared"
    QUILLON_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}"
    QUILLON_BIN_DIR="Z:${CMAKE_BINARY_DIR}")
  if(TARGET cadsim)
    add_dependencies(win_tests cadsim)
  endif()
  if(TARGET quillon)
    add_dependencies(win_tests quillon)
  endif()
  include(GoogleTest)
  # One ctest entry per test; discovery runs the exe under wine at test time.
  gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR} PROPERTIES LABELS wine TIMEOUT 180 RESOURCE_LOCK wine)
endif()
