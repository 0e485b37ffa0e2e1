# What a Linux desktop and Debian's tools expect beside the programs: manual
# pages, the icon in the sizes menus use, AppStream metadata, the copyright
# and changelog files, and the CPack settings that make the .deb
# (scripts/package.sh). Everything that names the version takes it from
# project().

# The project has no public home yet: the component id and the address of
# the screenshot use the reserved example namespace until it has one.
set(MEHRFACHSPALT_APP_ID "org.example.mehrfachspalt")
set(MEHRFACHSPALT_SCREENSHOT_URL "https://mehrfachspalt.example.org/mehrfachspalt.png")
set(MEHRFACHSPALT_MAINTAINER "Mehrfachspalt developers <mehrfachspalt@example.org>")
# The date of this version, for the metadata, the manual pages and the changelog.
set(MEHRFACHSPALT_RELEASE_DATE "2026-12-09")
execute_process(
  COMMAND env LC_ALL=C date -u -R -d "${MEHRFACHSPALT_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE MEHRFACHSPALT_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)

set(PACKAGE_FILES_DIR ${CMAKE_BINARY_DIR}/package-files)
set(DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mehrfachspalt)
set(package_outputs "")

# Compressed as Debian wants them: gzip -9, no name or time stamp inside.
function(add_gzipped source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9nc ${source} > ${output}
    DEPENDS ${source} VERBATIM)
  set(package_outputs ${package_outputs} ${output} PARENT_SCOPE)
endfunction()

foreach(page mehrfachspalt mehrfachspalt-snapshot)
  configure_file(${CMAKE_SOURCE_DIR}/data/${page}.1.in ${PACKAGE_FILES_DIR}/${page}.1 @ONLY)
  add_gzipped(${PACKAGE_FILES_DIR}/${page}.1 ${PACKAGE_FILES_DIR}/${page}.1.gz)
  install(FILES ${PACKAGE_FILES_DIR}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

configure_file(${CMAKE_SOURCE_DIR}/data/changelog.in ${PACKAGE_FILES_DIR}/changelog @ONLY)
add_gzipped(${PACKAGE_FILES_DIR}/changelog ${PACKAGE_FILES_DIR}/changelog.gz)
install(FILES ${PACKAGE_FILES_DIR}/changelog.gz data/copyright DESTINATION ${DOC_DIR})

configure_file(${CMAKE_SOURCE_DIR}/data/mehrfachspalt.metainfo.xml.in
               ${PACKAGE_FILES_DIR}/${MEHRFACHSPALT_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PACKAGE_FILES_DIR}/${MEHRFACHSPALT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon as pixels for the menus' sizes, rendered from the SVG at build
# time (librsvg2-bin), so that no generated picture is kept in the tree.
option(REQUIRE_PNG_ICONS "fail when rsvg-convert is missing (the package needs the PNG icons)" OFF)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  foreach(size 16 22 24 32 48 64 128 256)
    set(icon ${PACKAGE_FILES_DIR}/icons/${size}x${size}/mehrfachspalt.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_FILES_DIR}/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${icon} ${CMAKE_SOURCE_DIR}/data/mehrfachspalt.svg
      DEPENDS ${CMAKE_SOURCE_DIR}/data/mehrfachspalt.svg VERBATIM)
    list(APPEND package_outputs ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
elseif(REQUIRE_PNG_ICONS)
  message(FATAL_ERROR "rsvg-convert is missing: install librsvg2-bin (scripts/package.sh does)")
else()
  message(STATUS "rsvg-convert not found: the icon is installed as SVG only")
endif()
add_custom_target(package_files ALL DEPENDS ${package_outputs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mehrfachspalt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MEHRFACHSPALT_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interference at multiple slits explained with phasors")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A classroom program for wave optics. A 640 x 480, 16-colour picture shows
light from one to eight slits reaching a movable detector point and explains
the brightness there with phasors: one arrow per slit, chained head to tail,
their sum, and the intensity drawn at the right edge, so that moving the
detector builds the interference curve. All texts on screen are German.
.
The package also holds mehrfachspalt-snapshot, which runs the simulation
without a window and writes PNG pictures, animated GIFs for slides and the
intensity curve as CSV for spreadsheets.")
# The Depends line from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
