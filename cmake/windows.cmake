# Windows build (mingw-w64): quillon.exe, cadsim.exe and the tests run under Wine.
# The type library of the host's automation interfaces, built with widl.
find_program(WIDL widl REQUIRED)
set(typelib ${CMAKE_BINARY_DIR}/cadsim.tlb)
add_custom_command(OUTPUT ${typelib}
  COMMAND ${WIDL} -m64 --win64 -I/usr/share/mingw-w64/include -I/usr/x86_64-w64-mingw32/include
          -t -o ${typelib} ${CMAKE_SOURCE_DIR}/sim/win/cadsim.idl
  DEPENDS ${CMAKE_SOURCE_DIR}/sim/win/cadsim.idl)
add_custom_target(cadsim_typelib DEPENDS ${typelib})

include(${CMAKE_SOURCE_DIR}/src/app/targets.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/sim/win/targets.cmake OPTIONAL)

# GoogleTest built from Debian's sources with the cross compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -O1)  # test code: compile time matters more than speed

include(${CMAKE_SOURCE_DIR}/tests/win/targets.cmake OPTIONAL)
