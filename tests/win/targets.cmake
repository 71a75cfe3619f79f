# Tests that run under Wine: the COM link against cadsim.exe, the Win32 backends, the
# end-to-end road. ctest runs them through wine on the display ./test provides.
file(GLOB win_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(win_test_sources)
  add_executable(win_tests ${win_test_sources})
  target_link_libraries(win_tests PRIVATE quillon_test_support quillon_app cadsim_model gtest version)
  # Test code: compile time matters more than speed; the heavy headers parsed once.
  target_compile_options(win_tests PRIVATE -O1)
  target_precompile_headers(win_tests PRIVATE <windows.h> <gtest/gtest.h> <filesystem> <functional> <string> <vector>)
  target_compile_definitions(win_tests PRIVATE
    QUILLON_DXF_DIR="Z:${CMAKE_SOURCE_DIR}/tests/data/dxf"
    QUILLON_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}"
    QUILLON_BIN_DIR="Z:${CMAKE_BINARY_DIR}")
  if(TARGET cadsim)
    add_dependencies(win_tests cadsim)
  endif()
  if(TARGET quillon)
    add_dependencies(win_tests quillon)
  endif()
  # tests/win/run-suite bounds each entry and leaves no program behind.
  include(${CMAKE_SOURCE_DIR}/cmake/test_groups.cmake)
  quillon_test_groups(win_tests wine "${win_test_sources}"
    "${CMAKE_SOURCE_DIR}/tests/win/run-suite;$<TARGET_FILE:win_tests>" TIMEOUT 600 RESOURCE_LOCK wine)
  # run-suite itself, without Wine: two entries sharing one prefix end only their own.
  add_test(NAME wine.run-suite COMMAND ${CMAKE_SOURCE_DIR}/tests/win/run-suite-test)
  set_tests_properties(wine.run-suite PROPERTIES LABELS wine TIMEOUT 120)
endif()
