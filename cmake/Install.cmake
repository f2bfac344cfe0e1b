# What `cmake --install` puts under the prefix (the program, its reference tables, the
# icon, the desktop entry and the AppStream data) and the Debian package CPack makes of it.
include(GNUInstallDirs)

set(ZELVARIN_APP_ID it.zelvarin.Zelvarin)
set(ZELVARIN_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/zelvarin)
# The program looks for its installed tables relative to its own folder, so it finds them
# under any prefix, the package's /usr included.
file(RELATIVE_PATH ZELVARIN_REFDATA_INSTALLED ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/zelvarin)

set(ZELVARIN_ICON_SIZES 16 24 32 48 64 128 256)

# Software centres show the AppStream release list: each version gets its entry.
set(ZELVARIN_METAINFO_FILE ${PROJECT_SOURCE_DIR}/packaging/${ZELVARIN_APP_ID}.metainfo.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZELVARIN_METAINFO_FILE})
file(READ ${ZELVARIN_METAINFO_FILE} ZELVARIN_METAINFO)
if(NOT ZELVARIN_METAINFO MATCHES "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/${ZELVARIN_APP_ID}.metainfo.xml has no release ${PROJECT_VERSION}")
endif()

# Runs once every target exists.
function(zelvarin_install_rules)
  set(packaging ${PROJECT_SOURCE_DIR}/packaging)
  get_directory_property(refdata DIRECTORY ${PROJECT_SOURCE_DIR}/registry DEFINITION ZELVARIN_REFDATA_OUTPUT)
  install(TARGETS zelvarin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${refdata}/cap.db ${refdata}/banche.db DESTINATION ${ZELVARIN_DATA_INSTALL_DIR})
  install(FILES ${packaging}/icons/zelvarin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN LISTS ZELVARIN_ICON_SIZES)
    install(FILES ${packaging}/icons/zelvarin-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME zelvarin.png)
  endforeach()
  install(FILES ${packaging}/${ZELVARIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${packaging}/${ZELVARIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL zelvarin_install_rules)

# Debian 12 package: `cpack -G DEB` in a build folder gives zelvarin_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvarin)
set(CPACK_PACKAGE_VENDOR Zelvarin)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Gestionale per la piccola azienda commerciale o artigiana")
set(CPACK_PACKAGE_DESCRIPTION
  "Clienti e fornitori, magazzino e giacenze, DDT, fatture, preventivi, ordini, scadenze e scontrini, con le loro stampe.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zelvarin <zelvarin@example.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Shared libraries are found by dpkg-shlibdeps; what the program loads by name is listed:
# Qt's Italian texts and the font reports fall back to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
