# Windows build (mingw-w64): quillon.exe, cadsim.exe and the tests run under Wine.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
set(win_libs ole32 oleaut32 uuid user32 gdi32 comctl32 shell32 dwmapi uxtheme shlwapi imm32 shcore)

# Win32 backends of the program: platform services and the COM client.
quillon_sources(platform_sources src/platform src/cad/com)
if(platform_sources)
  add_library(quillon_win STATIC ${platform_sources})
  target_link_libraries(quillon_win PUBLIC quillon_core ${win_libs})
  target_precompile_headers(quillon_win PRIVATE <windows.h>)
else()
  add_library(quillon_win INTERFACE)
  target_link_libraries(quillon_win INTERFACE quillon_core ${win_libs})
endif()

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
