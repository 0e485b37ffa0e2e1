# The program for the browser: build-web/site holds the page, the script and
# the WebAssembly module, ready for any static file server.
set(WEB_SITE_DIR ${CMAKE_BINARY_DIR}/site)
add_dependencies(gfx_screen host_tools)
foreach(library runtime gfx_present gfx_present_web gfx_screen gfx_draw gfx_text gfx_input gfx sim)
  target_compile_options(${library} PRIVATE -include ${CMAKE_SOURCE_DIR}/web/compat/bit_cast.h)
endforeach()
# "gr\x94\xE1" "ere": the menu texts split their literals where a hex escape
# must end, which clang would take for a missing comma.
target_compile_options(sim PRIVATE -Wno-string-concatenation)

set_target_properties(mehrfachspalt PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WEB_SITE_DIR})
target_link_options(mehrfachspalt PRIVATE
  # The frame pacing's pause gives the page back to the browser and resumes.
  -sASYNCIFY
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  "--pre-js=${CMAKE_SOURCE_DIR}/web/program_end.js"
  # The page passes its key and focus events in through these.
  "-sEXPORTED_FUNCTIONS=_main,_web_key_fields,_web_key_input,_web_focus_changed")

set_property(TARGET mehrfachspalt APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/program_end.js)
configure_file(${CMAKE_SOURCE_DIR}/web/index.html ${WEB_SITE_DIR}/index.html COPYONLY)
