# `make package`: a Debian package of this build, installed under /usr.
# Everything the package holds comes from the install rules; this file adds
# what only a distribution package needs (sized icons, the software centre's
# metainfo, man pages, the Debian changelog and copyright) and CPack's
# settings. Library dependencies are worked out from the binaries by
# dpkg-shlibdeps; only what is loaded at run time without being linked is
# named by hand.
include(GNUInstallDirs)

set(PELLIWIG_RELEASE_DATE "2026-12-07" CACHE STRING "Date of this release, YYYY-MM-DD")
set(PELLIWIG_MAINTAINER "Pelliwig developers <maintainers@pelliwig.app>" CACHE STRING
    "Maintainer field of the Debian package")
execute_process(COMMAND date -u -R -d "${PELLIWIG_RELEASE_DATE}"
  OUTPUT_VARIABLE PELLIWIG_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)

set(package_dir "${PROJECT_BINARY_DIR}/package")
set(resources "${PROJECT_SOURCE_DIR}/resources")

# The menu's icon at the sizes icon themes look for, drawn from the SVG.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(PELLIWIG_ICON_SIZES 16 22 24 32 48 64 128 256 512)
set(icon_files "")
foreach(size IN LISTS PELLIWIG_ICON_SIZES)
  set(png "${package_dir}/icons/${size}x${size}/pelliwig.png")
  add_custom_command(OUTPUT "${png}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${package_dir}/icons/${size}x${size}"
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o "${png}" "${resources}/icons/pelliwig.svg"
    DEPENDS "${resources}/icons/pelliwig.svg" VERBATIM)
  list(APPEND icon_files "${png}")
  install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()

# The software centre's page. Its screenshots are kept in
# resources/screenshots and published on the web site under the same names;
# their sizes are read from the pictures.
set(SHOT_BUTTONS "water.png")
set(SHOT_LONG "bedtime.png")
foreach(shot BUTTONS LONG)
  file(READ "${resources}/screenshots/${SHOT_${shot}}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 8 width_hex)
  string(SUBSTRING "${header}" 40 8 height_hex)
  math(EXPR SHOT_${shot}_WIDTH "0x${width_hex}")
  math(EXPR SHOT_${shot}_HEIGHT "0x${height_hex}")
endforeach()
set(PELLIWIG_METAINFO "${package_dir}/app.pelliwig.Pelliwig.metainfo.xml")
configure_file("${resources}/metainfo/app.pelliwig.Pelliwig.metainfo.xml.in"
  "${PELLIWIG_METAINFO}" @ONLY)
install(FILES "${PELLIWIG_METAINFO}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# Man pages and the changelog, compressed as Debian policy wants them.
find_program(GZIP gzip REQUIRED)
set(compressed "")
function(pelliwig_gzipped source destination)
  get_filename_component(name "${source}" NAME)
  string(REGEX REPLACE "\\.in$" "" name "${name}")
  set(plain "${package_dir}/${name}")
  configure_file("${source}" "${plain}" @ONLY)
  add_custom_command(OUTPUT "${plain}.gz"
    COMMAND ${GZIP} -9nf -k "${plain}"
    DEPENDS "${plain}" VERBATIM)
  set(compressed ${compressed} "${plain}.gz" PARENT_SCOPE)
  install(FILES "${plain}.gz" DESTINATION "${destination}" ${ARGN})
endfunction()
pelliwig_gzipped("${resources}/man/pelliwig.1" "${CMAKE_INSTALL_MANDIR}/man1")
pelliwig_gzipped("${resources}/man/pelliwig-sim.1" "${CMAKE_INSTALL_MANDIR}/man1")
pelliwig_gzipped("${resources}/debian/changelog.in" "${CMAKE_INSTALL_DATADIR}/doc/pelliwig")
install(FILES "${resources}/debian/copyright" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/pelliwig")

add_custom_target(pelliwig_package_files ALL DEPENDS ${icon_files} ${compressed})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelliwig)
set(CPACK_PACKAGE_VENDOR "The Pelliwig developers")
set(CPACK_PACKAGE_CONTACT "${PELLIWIG_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small drawn companion at the top of the screen")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY "${package_dir}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PELLIWIG_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PELLIWIG_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt loads its X11 platform plugin at run time; nothing links it. Her lines
# use emoji, which want a colour emoji font. In a Wayland session without
# XWayland her windows need Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-color-emoji, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zuzi lives at the top centre of the screen. Now and then she slides out with
a short line in a speech bubble: water, food, breaks, bedtime, the battery,
calendar events about to start, birthdays, countdowns, or a remark on the
application just opened. She keeps quiet at night and during calls,
remembers how she is answered and speaks English or Hinglish.

Nothing the user does leaves the machine; the only network traffic is a
check for a newer release every six hours.")
include(CPack)
