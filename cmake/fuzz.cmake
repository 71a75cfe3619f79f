# Fuzz tree (clang, QUILLON_FUZZ): libFuzzer targets of the file readers, and a ctest
# entry for each that replays its saved corpus (tests/fuzz/corpus/<target>/).
# scripts/fuzz runs one target for a given time. Only the libraries a target needs are
# built: ./test asks for the two targets by name.

# libFuzzer's coverage only where the inputs go: the text codecs and INI text of base,
# the settings file of app, the stand-in's DXF reader and geometry, and the targets. The
# widgets' layout, which every start runs a few times, stays out: it would slow each run
# and steer the fuzzer by paths the file does not choose.
set(fuzz_coverage -fsanitize=fuzzer-no-link)
target_compile_options(quillon_base PRIVATE ${fuzz_coverage})
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/settings.cpp PROPERTIES COMPILE_OPTIONS "${fuzz_coverage}")

# The settings file as the program reads it at start and writes it at the end: the main
# window on the in-memory widgets and the scripted desktop (tests/support).
add_executable(fuzz_settings ${CMAKE_SOURCE_DIR}/tests/fuzz/settings_fuzz.cpp)
target_link_libraries(fuzz_settings PRIVATE quillon_test_support quillon_app)

# The stand-in's DXF reader and what the stand-in works out from a drawing it opens
# (extents, the first view, outlines); just those files of the stand-in's model.
add_library(fuzz_dxf_model STATIC
  ${CMAKE_SOURCE_DIR}/sim/model/dxf_entities.cpp ${CMAKE_SOURCE_DIR}/sim/model/dxf_groups.cpp
  ${CMAKE_SOURCE_DIR}/sim/model/dxf_reader.cpp ${CMAKE_SOURCE_DIR}/sim/model/dxf_text.cpp
  ${CMAKE_SOURCE_DIR}/sim/model/dxf_transform.cpp ${CMAKE_SOURCE_DIR}/sim/model/geometry.cpp
  ${CMAKE_SOURCE_DIR}/sim/model/text_codec.cpp ${CMAKE_SOURCE_DIR}/sim/model/view.cpp)
target_include_directories(fuzz_dxf_model PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(fuzz_dxf_model PUBLIC quillon_base)
target_compile_options(fuzz_dxf_model PRIVATE ${fuzz_coverage})
add_executable(fuzz_dxf ${CMAKE_SOURCE_DIR}/tests/fuzz/dxf_fuzz.cpp)
target_link_libraries(fuzz_dxf PRIVATE fuzz_dxf_model)

foreach(target IN ITEMS settings dxf)
  target_compile_options(fuzz_${target} PRIVATE ${fuzz_coverage})
  target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
  # Each saved input once, by name, so that a failing one is named in the output.
  file(GLOB corpus CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${target}/*)
  if(NOT corpus)  # without inputs the program would fuzz on instead of replaying
    message(FATAL_ERROR "tests/fuzz/corpus/${target}/ holds no inputs")
  endif()
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/replay)
  add_test(NAME native.fuzz-${target}
           COMMAND fuzz_${target} -timeout=60 -artifact_prefix=${CMAKE_BINARY_DIR}/replay/${target}- ${corpus}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(native.fuzz-${target} PROPERTIES LABELS native TIMEOUT 300)
endforeach()
