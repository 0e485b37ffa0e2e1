# The version of project() reaches the programs through a generated header,
# and the package and its metadata through configure_file (cmake/package.cmake).
configure_file(${CMAKE_SOURCE_DIR}/app/version.h.in ${CMAKE_BINARY_DIR}/generated/app/version.h
               @ONLY)
add_library(version_header INTERFACE)
target_include_directories(version_header INTERFACE ${CMAKE_BINARY_DIR}/generated)
