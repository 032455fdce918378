# Installation (GNUInstallDirs, every destination relative to the prefix) and the Debian package.
#   cmake --install build --prefix /usr        (DESTDIR=... as usual)
#   cd build && cpack -G DEB                   (tamberlo_VERSION_ARCH.deb)
set(TAM_PKG_DIR ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS tamberlo tamasset RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${TAM_DATA_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/tamberlo)
install(FILES packaging/tamberlo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${TAM_ICON_SIZES})
  install(FILES ${TAM_ICON_DIR}/${size}x${size}/apps/tamberlo.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
configure_file(packaging/tamberlo.metainfo.xml.in ${TAM_PKG_DIR}/org.example.tamberlo.metainfo.xml
               @ONLY)
install(FILES ${TAM_PKG_DIR}/org.example.tamberlo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n: no name or time).
execute_process(COMMAND date -R -u -d ${TAM_RELEASE_DATE}
                OUTPUT_VARIABLE TAM_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
set(TAM_GZIPPED)
foreach(page tamberlo.6 tamasset.1 changelog)
  configure_file(packaging/${page}.in ${TAM_PKG_DIR}/${page} @ONLY)
  add_custom_command(OUTPUT ${TAM_PKG_DIR}/${page}.gz
    COMMAND gzip -9nfk ${TAM_PKG_DIR}/${page}
    DEPENDS ${TAM_PKG_DIR}/${page}
    COMMENT "Compressing ${page}")
  list(APPEND TAM_GZIPPED ${TAM_PKG_DIR}/${page}.gz)
endforeach()
add_custom_target(packagedocs ALL DEPENDS ${TAM_GZIPPED})
install(FILES ${TAM_PKG_DIR}/tamberlo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${TAM_PKG_DIR}/tamasset.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The licence, also as a machine-readable Debian copyright file.
file(READ LICENSE TAM_LICENSE)
string(FIND "${TAM_LICENSE}" "Permission is hereby" TAM_LICENSE_START)
string(SUBSTRING "${TAM_LICENSE}" ${TAM_LICENSE_START} -1 TAM_LICENSE_TERMS)
string(STRIP "${TAM_LICENSE_TERMS}" TAM_LICENSE_TERMS)
string(REPLACE "\n\n" "\n.\n" TAM_LICENSE_TERMS "${TAM_LICENSE_TERMS}")
string(REPLACE "\n" "\n " TAM_LICENSE_TERMS "${TAM_LICENSE_TERMS}")
configure_file(packaging/copyright.in ${TAM_PKG_DIR}/copyright @ONLY)
install(FILES LICENSE README.md ${TAM_PKG_DIR}/copyright ${TAM_PKG_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME tamberlo)
set(CPACK_PACKAGE_VENDOR "The Tamberlo developers")
set(CPACK_PACKAGE_CONTACT "Tamberlo developers <tamberlo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small first-person 3D engine demonstrator")
# The package's long description, wrapped for the control file (no semicolons: CMake lists).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Tamberlo opens an arena of textured wall panels around a stone tower under a\n"
  "sky, with optional fog, three animated models and a HUD. You walk, strafe,\n"
  "jump and look around, and the walls stop you.\n"
  "\n"
  "A console window runs typed commands: maps, textures, an island generator,\n"
  "fog, key bindings, display modes, and MIDI, WAV and MP3 playback. The package\n"
  "comes with the asset tool, tamasset, which makes all the game's art, maps,\n"
  "models and sounds from the project's own sources.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/packaging/debian-games.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Run-time needs no library names: the console and HUD font, and the MIDI instruments.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, freepats")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
