# The headless exports: the simulation without a window, written as a PNG
# picture (libpng), an animated GIF (giflib) and the intensity curve as CSV.
# The parts are a library of their own so that tests can run them; the
# program's wiring (program_parts) is the executable's to choose.
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
add_library(snapshot_tool STATIC
  app/curve_csv.cpp app/gif_file.cpp app/output_file.cpp app/png_file.cpp
  app/snapshot_options.cpp app/tone_recording.cpp app/typed_frames.cpp)
target_include_directories(snapshot_tool PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(snapshot_tool PUBLIC program_base PNG::PNG GIF::GIF)
add_executable(mehrfachspalt-snapshot app/snapshot_main.cpp)
target_link_libraries(mehrfachspalt-snapshot PRIVATE snapshot_tool program_parts version_header)
