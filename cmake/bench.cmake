# Benchmarks: native programs that measure and print figures; not part of the tests.
# The ordering code is compiled into the benchmark itself with optimisation, whatever
# the build type of the rest.
if(NOT WIN32)
  add_executable(ordering_bench ${CMAKE_SOURCE_DIR}/bench/ordering_bench.cpp ${CMAKE_SOURCE_DIR}/src/frames/ordering.cpp)
  target_include_directories(ordering_bench PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(ordering_bench PRIVATE -O2)
endif()
