# The simulation alone, as a build with -DLESSON_TOOLS=OFF has it, beside
# the full program in the same build folder: only the wiring differs, so
# only it (and the two mains) are compiled again. Not part of "all":
# scripts/check_core_build.sh builds and compares them.
if(NOT LESSON_TOOLS)
  return()
endif()
add_library(program_parts_core STATIC EXCLUDE_FROM_ALL app/program_parts.cpp)
target_link_libraries(program_parts_core PUBLIC program_base)
add_executable(mehrfachspalt-core EXCLUDE_FROM_ALL app/main.cpp)
target_include_directories(mehrfachspalt-core PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(mehrfachspalt-core PRIVATE program_parts_core version_header)
add_executable(mehrfachspalt-snapshot-core EXCLUDE_FROM_ALL app/snapshot_main.cpp)
target_link_libraries(mehrfachspalt-snapshot-core PRIVATE snapshot_tool program_parts_core
  version_header)
