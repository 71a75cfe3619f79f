# cadsim.exe: the CAD stand-in's Win32 side (COM server, windows, view) over the
# portable model in sim/model.
set(cadsim_generated ${CMAKE_BINARY_DIR}/cadsim_generated)
file(MAKE_DIRECTORY ${cadsim_generated})

# C++ declarations of the dual interfaces, from the same IDL as the type library.
set(cadsim_idl_header ${cadsim_generated}/cadsim_idl.h)
add_custom_command(OUTPUT ${cadsim_idl_header}
  COMMAND ${WIDL} -m64 --win64 -h -H ${cadsim_idl_header} ${CMAKE_SOURCE_DIR}/sim/win/cadsim.idl
  DEPENDS ${CMAKE_SOURCE_DIR}/sim/win/cadsim.idl)

# The type library embedded as resource TYPELIB 1.
set(CADSIM_TYPELIB ${typelib})
configure_file(${CMAKE_SOURCE_DIR}/sim/win/cadsim.rc.in ${cadsim_generated}/cadsim.rc @ONLY)
set_source_files_properties(${cadsim_generated}/cadsim.rc PROPERTIES OBJECT_DEPENDS ${typelib})

file(GLOB cadsim_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sim/win/*.cpp)
add_executable(cadsim WIN32 ${cadsim_sources} ${cadsim_idl_header} ${cadsim_generated}/cadsim.rc)
target_include_directories(cadsim PRIVATE ${cadsim_generated} ${CMAKE_SOURCE_DIR})
target_link_libraries(cadsim PRIVATE cadsim_model quillon_ui_win quillon_cad_com quillon_base)
target_link_options(cadsim PRIVATE -municode)
target_precompile_headers(cadsim PRIVATE <windows.h>)
add_dependencies(cadsim cadsim_typelib)

# Without a drawing argument cadsim opens sample.dxf beside itself.
add_custom_target(cadsim_sample ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/sim/sample/sample.dxf
          -DDESTINATION=$<TARGET_FILE_DIR:cadsim>/sample.dxf -P ${CMAKE_SOURCE_DIR}/sim/win/copy_if_present.cmake
  VERBATIM)
add_dependencies(cadsim_sample cadsim)
