# Tests that run under Wine: the COM link against cadsim.exe, the Win32 backends, the
# end-to-end road. ctest runs them through wine on the display ./test provides.
file(GLOB win_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(win_test_sources)
  add_executable(win_tests ${win_test_sources})
  target_link_libraries(win_tests PRIVATE quillon_win cadsim_model quillon_core gtest ${win_libs})
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
  include(${CMAKE_CURRENT_LIST_DIR}/suites.cmake)
  quillon_wine_suites(win_tests "${win_test_sources}")
endif()
