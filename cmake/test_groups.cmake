# GoogleTest programs as a few ctest entries, one program start each, instead of one per
# case: a start costs more than most cases (under Wine by far), and a case that fails is
# still named in the entry's output. The test files are grouped by the first word of
# their name (sim_*, frames_*, cadsim_*, com_*, ...), and each entry runs the test suites
# its files define (a suite defined in files of two groups runs with the first). A last
# entry runs whatever no entry names, so that a suite the scan below misses still runs.
#
#   quillon_test_groups(TARGET LABEL SOURCES RUNNER [PROPERTIES...])
# RUNNER is the command before the program's arguments: the program itself, or a
# wrapper that takes the program as its first argument. PROPERTIES go to every entry.
function(quillon_test_groups target label sources runner)
  set(claimed)
  set(groups)
  foreach(source IN LISTS sources)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    get_filename_component(stem ${source} NAME_WE)
    string(REGEX REPLACE "_.*" "" group ${stem})
    file(READ ${source} text)
    string(REGEX MATCHALL "(^|\n)TEST(_F|_P)?\\([A-Za-z0-9_]+" found "${text}")
    foreach(match IN LISTS found)
      string(REGEX REPLACE ".*\\(" "" suite "${match}")
      if(NOT suite IN_LIST claimed)
        list(APPEND claimed ${suite})
        list(APPEND groups ${group})
        # Plain and fixture suites by name; value-parameterised ones as Prefix/Suite.
        list(APPEND filter_${group} "${suite}.*" "*/${suite}.*")
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES groups)

  set(all)
  foreach(group IN LISTS groups ITEMS unlisted)
    if(group STREQUAL "unlisted")
      list(JOIN all ":" filter)
      set(filter "-${filter}")
    else()
      list(APPEND all ${filter_${group}})
      list(JOIN filter_${group} ":" filter)
    endif()
    add_test(NAME ${label}.${group} COMMAND ${runner} --gtest_filter=${filter} --gtest_color=no
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(${label}.${group} PROPERTIES LABELS ${label} ${ARGN})
  endforeach()
endfunction()
