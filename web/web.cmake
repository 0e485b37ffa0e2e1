# The program for the browser: build-web/site holds the page, the script and
# the WebAssembly module, ready for any static file server.
set(WEB_SITE_DIR ${CMAKE_BINARY_DIR}/site)
add_dependencies(gfx_screen host_tools)
foreach(library runtime gfx_present gfx_present_web gfx_screen gfx_draw gfx_text gfx_input gfx sim
        lessons program_base program_parts)
  if(TARGET ${library})
    target_compile_options(${library} PRIVATE -include ${CMAKE_SOURCE_DIR}/web/compat/bit_cast.h)
  endif()
endforeach()

set_target_properties(mehrfachspalt PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WEB_SITE_DIR})

# The texts in other languages: the catalogues of po/, compiled and written
# as a script of the site (page_texts.js), from which the page labels itself
# and translates the picture's texts for the program (sim/texts.cpp asks the
# page). They arrive with the site; the page asks nothing elsewhere.
find_program(MSGFMT msgfmt REQUIRED)
find_program(NODE NAMES node nodejs REQUIRED)
file(GLOB CATALOGUES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(WEB_LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
set(web_catalogues "")
set(page_catalogues "")
foreach(po ${CATALOGUES})
  get_filename_component(language ${po} NAME_WE)
  set(folder ${WEB_LOCALE_DIR}/${language}/LC_MESSAGES)
  add_custom_command(OUTPUT ${folder}/mehrfachspalt.mo
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${MSGFMT} --check -o ${folder}/mehrfachspalt.mo ${po}
    DEPENDS ${po} VERBATIM)
  list(APPEND web_catalogues ${folder}/mehrfachspalt.mo)
  list(APPEND page_catalogues ${language}=${folder}/mehrfachspalt.mo)
endforeach()
add_custom_target(web_catalogues DEPENDS ${web_catalogues})
add_custom_command(OUTPUT ${WEB_SITE_DIR}/page_texts.js
  COMMAND ${NODE} ${CMAKE_SOURCE_DIR}/web/page_texts.cjs
          ${WEB_SITE_DIR}/page_texts.js ${page_catalogues}
  DEPENDS ${web_catalogues} ${CMAKE_SOURCE_DIR}/web/page_texts.cjs
  COMMENT "Writing the page's catalogues"
  VERBATIM)
target_link_options(mehrfachspalt PRIVATE
  # The frame pacing's pause gives the page back to the browser and resumes.
  -sASYNCIFY
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  "--pre-js=${CMAKE_SOURCE_DIR}/web/program_end.js"
  # The page passes its key, focus and pointer events in through these.
  "-sEXPORTED_FUNCTIONS=_main,_web_key_fields,_web_key_input,_web_focus_changed,_web_pointer")

set_property(TARGET mehrfachspalt APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/program_end.js)
configure_file(${CMAKE_SOURCE_DIR}/web/index.html ${WEB_SITE_DIR}/index.html COPYONLY)

# Installable and offline: the manifest, the program's icon as SVG and as
# the PNG sizes a home screen asks for (rendered here, so that no generated
# picture is kept in the tree), and the service worker that keeps them all.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(WEB_ICON ${CMAKE_SOURCE_DIR}/data/mehrfachspalt.svg)
configure_file(${WEB_ICON} ${WEB_SITE_DIR}/mehrfachspalt.svg COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/web/manifest.webmanifest ${WEB_SITE_DIR}/manifest.webmanifest
               COPYONLY)
set(WEB_SITE_FILES index.html page_texts.js mehrfachspalt.js mehrfachspalt.wasm
    manifest.webmanifest mehrfachspalt.svg)
set(web_icons "")
foreach(size 192 512)
  set(icon ${WEB_SITE_DIR}/mehrfachspalt-${size}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${icon} ${WEB_ICON}
    DEPENDS ${WEB_ICON} VERBATIM)
  list(APPEND web_icons ${icon})
  list(APPEND WEB_SITE_FILES mehrfachspalt-${size}.png)
endforeach()
add_custom_command(OUTPUT ${WEB_SITE_DIR}/service_worker.js
  COMMAND ${CMAKE_COMMAND} -DSITE=${WEB_SITE_DIR} -DVERSION=${PROJECT_VERSION}
          -DTEMPLATE=${CMAKE_SOURCE_DIR}/web/service_worker.js.in "-DFILES=${WEB_SITE_FILES}"
          -P ${CMAKE_SOURCE_DIR}/web/service_worker.cmake
  DEPENDS mehrfachspalt ${web_icons} ${WEB_SITE_DIR}/index.html ${WEB_SITE_DIR}/page_texts.js
          ${WEB_SITE_DIR}/manifest.webmanifest
          ${WEB_SITE_DIR}/mehrfachspalt.svg ${CMAKE_SOURCE_DIR}/web/service_worker.js.in
          ${CMAKE_SOURCE_DIR}/web/service_worker.cmake
  COMMENT "Writing the page's service worker for this build's files"
  VERBATIM)
add_custom_target(web_site ALL DEPENDS ${WEB_SITE_DIR}/service_worker.js)
