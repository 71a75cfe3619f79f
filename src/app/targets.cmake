# quillon.exe: the product.
add_executable(quillon WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${CMAKE_SOURCE_DIR}/src/app/quillon.rc)
target_link_libraries(quillon PRIVATE quillon_app)
target_link_options(quillon PRIVATE -municode)
