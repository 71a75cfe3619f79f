# The Wine tests as a few ctest entries: one program start per test file, running that
# file's test suites (a suite defined in several files runs with the first of them).
# Starting win_tests.exe under Wine costs seconds, so one start per case would cost more
# than the cases. A last entry runs whatever no file's entry names, so that a suite the
# scan below misses still runs. tests/win/run-suite bounds each entry and leaves no
# program behind.
function(quillon_wine_suites target sources)
  set(claimed)
  set(runner ${CMAKE_SOURCE_DIR}/tests/win/run-suite)
  foreach(source IN LISTS sources)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} text)
    string(REGEX MATCHALL "(^|\n)TEST(_F|_P)?\\([A-Za-z0-9_]+" found "${text}")
    set(filter)
    foreach(match IN LISTS found)
      string(REGEX REPLACE ".*\\(" "" suite "${match}")
      if(NOT suite IN_LIST claimed)
        list(APPEND claimed ${suite})
        # Plain and fixture suites by name; value-parameterised ones as Prefix/Suite.
        list(APPEND filter "${suite}.*" "*/${suite}.*")
      endif()
    endforeach()
    if(filter)
      get_filename_component(stem ${source} NAME_WE)
      list(JOIN filter ":" filter)
      add_test(NAME wine.${stem} COMMAND ${runner} $<TARGET_FILE:${target}> ${filter}
               WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
      set_tests_properties(wine.${stem} PROPERTIES LABELS wine TIMEOUT 600 RESOURCE_LOCK wine)
      list(APPEND all ${filter})
    endif()
  endforeach()
  list(JOIN all ":" all)
  add_test(NAME wine.unlisted COMMAND ${runner} $<TARGET_FILE:${target}> "-${all}"
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(wine.unlisted PROPERTIES LABELS wine TIMEOUT 600 RESOURCE_LOCK wine)
endfunction()
