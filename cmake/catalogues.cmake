# The catalogues of the program's texts: po/LANG.po, checked for characters
# the screen's font lacks and compiled by msgfmt into the build tree's
# locale folder, where the programs (beside it) and the tests find them, and
# installed under share/locale (cmake --install and the package).
find_program(MSGFMT msgfmt)
if(NOT MSGFMT)
  message(FATAL_ERROR "msgfmt is missing: install gettext (scripts/deps.sh does)")
endif()

add_executable(check_catalogue tools/check_catalogue.cpp gfx/input/cp437.cpp)
target_include_directories(check_catalogue PRIVATE ${CMAKE_SOURCE_DIR})

set(LOCALE_BUILD_DIR ${CMAKE_BINARY_DIR}/locale)
file(GLOB CATALOGUES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(COMPILED_CATALOGUES)
foreach(po ${CATALOGUES})
  get_filename_component(language ${po} NAME_WE)
  set(folder ${LOCALE_BUILD_DIR}/${language}/LC_MESSAGES)
  set(mo ${folder}/mehrfachspalt.mo)
  add_custom_command(
    OUTPUT ${mo}
    COMMAND check_catalogue ${po}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${MSGFMT} --check -o ${mo} ${po}
    DEPENDS ${po} check_catalogue
    COMMENT "Compiling the ${language} catalogue"
    VERBATIM)
  list(APPEND COMPILED_CATALOGUES ${mo})
  install(FILES ${mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${language}/LC_MESSAGES)
endforeach()

# German is the sources' own language: its catalogue is the template with
# every text as it stands, so that LANGUAGE=de:fr finds German first instead
# of falling through to French.
find_program(MSGEN msgen REQUIRED)
set(folder ${LOCALE_BUILD_DIR}/de/LC_MESSAGES)
set(german ${folder}/mehrfachspalt.mo)
add_custom_command(
  OUTPUT ${german}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
  COMMAND ${MSGEN} --lang=de -o ${CMAKE_BINARY_DIR}/de.po ${CMAKE_SOURCE_DIR}/po/mehrfachspalt.pot
  COMMAND ${MSGFMT} -o ${german} ${CMAKE_BINARY_DIR}/de.po
  DEPENDS ${CMAKE_SOURCE_DIR}/po/mehrfachspalt.pot
  COMMENT "Compiling the German catalogue from the template"
  VERBATIM)
list(APPEND COMPILED_CATALOGUES ${german})
install(FILES ${german} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/de/LC_MESSAGES)

add_custom_target(catalogues ALL DEPENDS ${COMPILED_CATALOGUES})
add_dependencies(mehrfachspalt catalogues)
add_dependencies(mehrfachspalt-snapshot catalogues)
