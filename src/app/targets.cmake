# quillon.exe: the product. The program icon is drawn at build time (scripts/make-icon,
# ImageMagick) into the build folder, where the resource script finds it.
set(quillon_icon ${CMAKE_BINARY_DIR}/quillon.ico)
add_custom_command(OUTPUT ${quillon_icon}
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-icon ${quillon_icon}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-icon
  COMMENT "Drawing the program icon")
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/quillon.rc PROPERTIES
  OBJECT_DEPENDS "${quillon_icon};${CMAKE_SOURCE_DIR}/src/app/quillon.manifest")

add_executable(quillon WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${CMAKE_SOURCE_DIR}/src/app/quillon.rc)
target_link_libraries(quillon PRIVATE quillon_app)
target_link_options(quillon PRIVATE -municode)
target_include_directories(quillon PRIVATE ${CMAKE_BINARY_DIR})

# The file a user copies: the same program without its debug information, in
# build/win/release (the build's own quillon.exe keeps it, for the tests and debugging).
add_custom_command(TARGET quillon POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/release
  COMMAND ${CMAKE_STRIP} --strip-all -o ${CMAKE_BINARY_DIR}/release/quillon.exe $<TARGET_FILE:quillon>
  COMMENT "Stripping quillon.exe into release/quillon.exe"
  VERBATIM)
