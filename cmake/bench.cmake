# Benchmarks: native programs that measure and print figures; not part of the tests.
# The ordering code is compiled into the benchmark itself with optimisation, whatever
# the build type of the rest.
if(NOT WIN32)
  add_executable(ordering_bench ${CMAKE_SOURCE_DIR}/bench/ordering_bench.cpp ${CMAKE_SOURCE_DIR}/src/sheets/ordering.cpp)
  target_include_directories(ordering_bench PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(ordering_bench PRIVATE -O2)
endif()

# The capture benchmark: a Windows program run under Wine against cadsim.exe by
# bench/capture-bench.
if(WIN32)
  add_executable(capture_bench ${CMAKE_SOURCE_DIR}/bench/capture_bench_win.cpp)
  target_link_libraries(capture_bench PRIVATE quillon_app)
  target_include_directories(capture_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(capture_bench PRIVATE
    QUILLON_DXF_DIR="Z:${CMAKE_SOURCE_DIR}/tests/data/dxf"
    QUILLON_BIN_DIR="Z:${CMAKE_BINARY_DIR}")
  if(TARGET cadsim)
    add_dependencies(capture_bench cadsim)
  endif()
endif()

# The start benchmark (bench/start-bench): a launcher that times programs from their
# start to their visible window, and the bare window it measures Quillon against.
if(WIN32)
  add_executable(bare_window WIN32 ${CMAKE_SOURCE_DIR}/bench/bare_window_win.cpp)
  target_link_options(bare_window PRIVATE -municode)
  add_executable(start_bench ${CMAKE_SOURCE_DIR}/bench/start_bench_win.cpp)
  target_include_directories(start_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(start_bench PRIVATE QUILLON_DXF_DIR="" QUILLON_BIN_DIR="")
endif()
