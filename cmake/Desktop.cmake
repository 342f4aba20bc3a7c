# What makes Corvane a desktop program once installed: its menu entry, icon,
# AppStream description, the media type of packages, and the manual pages;
# and the Debian package that carries it all.

set(CORVANE_APP_ID org.corvane.Corvane)
set(desktop "${CMAKE_CURRENT_SOURCE_DIR}/assets/desktop")

install(FILES "${desktop}/${CORVANE_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${desktop}/${CORVANE_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${desktop}/${CORVANE_APP_ID}.mime.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
        RENAME "${CORVANE_APP_ID}.xml")
# The window picture is the scalable icon; the sized ones are rendered from it.
install(FILES assets/pictures/drawings/application.svg
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps" RENAME "${CORVANE_APP_ID}.svg")
foreach(size 48 256)
  install(FILES "${desktop}/icons/${size}/${CORVANE_APP_ID}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()

# Manual pages carry the version of the build, compressed as Debian keeps them.
foreach(page corvane corvane-cli)
  set(source "${CMAKE_CURRENT_SOURCE_DIR}/assets/man/${page}.1")
  set(versioned "${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1")
  configure_file("${source}" "${versioned}" @ONLY)
  add_custom_command(OUTPUT "${versioned}.gz"
                     COMMAND gzip -9nc "${versioned}" > "${versioned}.gz"
                     DEPENDS "${versioned}" VERBATIM)
  list(APPEND manual_pages "${versioned}.gz")
  install(FILES "${versioned}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${manual_pages})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_CONTACT "The Corvane developers <developers@corvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepare Music On Hold content and media packages for Tonvex players")
set(CPACK_PACKAGE_DESCRIPTION "Corvane prepares Music On Hold content for the Tonvex family of stand-alone
audio players and finished audio productions: playlists of music and
messages, scheduled messages, recording, preview and export of the mixed
production, and enciphered media packages locked to a device.
corvane-cli inspects, verifies, unpacks and relocks packages from the shell.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the programs link are found by dpkg-shlibdeps; the font the
# screens are drawn in is not a library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
