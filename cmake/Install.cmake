# The installed layout and the Debian package. Installed, the executable is <prefix>/bin/kelvara
# and the shipped content lies in <prefix>/share/kelvara/; the program then keeps the user's data
# in $XDG_DATA_HOME/kelvara and never writes under the prefix.
include(GNUInstallDirs)

install(PROGRAMS $<TARGET_FILE:Kelvara> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME kelvara)
# Renamed on the way, so installed as a file, which "cmake --install --strip" (and CPack) would
# leave as it is: strip it here when asked to.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/kelvara\")
endif()")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kelvara
    PATTERN ".keep" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.kelvara.Kelvara.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.kelvara.Kelvara.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# The manual page, compressed as Debian's policy asks (-n: no name or time stamp, so that builds
# of the same source give the same file).
set(KELVARA_MAN_PAGE ${CMAKE_BINARY_DIR}/kelvara.1.gz)
add_custom_command(OUTPUT ${KELVARA_MAN_PAGE}
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/man/kelvara.1 > ${KELVARA_MAN_PAGE}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/man/kelvara.1
    COMMENT "Compressing the manual page")
install(FILES ${KELVARA_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Debian's documentation of the package: its copyright and its changelog.
set(KELVARA_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${KELVARA_CHANGELOG}
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${KELVARA_CHANGELOG}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressing the changelog")
add_custom_target(package_docs ALL DEPENDS ${KELVARA_MAN_PAGE} ${KELVARA_CHANGELOG})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${KELVARA_CHANGELOG}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvara)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvara)
set(CPACK_PACKAGE_VENDOR "The Kelvara developers")
set(CPACK_PACKAGE_CONTACT "The Kelvara developers <developers@kelvara.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "application launcher with skinned tabs on the screen edge")
# Lines of at most 80 characters, as Debian's control files want them.
set(CPACK_PACKAGE_DESCRIPTION
    "A row of small skinned tabs sits on one edge of a monitor; each tab is a
folder of shortcuts. Resting the pointer on a tab slides it out to show its
items, and a click launches one.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The symbol tables are no use to the user; debugging information is not shipped.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
# The linked libraries give most of the dependencies. libcurl is loaded only when an update check
# runs, SVG icons need Qt's SVG plugin, and documents and folders open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4, libqt6svg6, xdg-utils")
# Without a desktop environment, folder, document and program icons come from Adwaita. The
# Chinese translation needs a font with CJK characters. Qt's own texts (edit fields' context
# menus, standard buttons) come in the user's language from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "adwaita-icon-theme, fonts-noto-cjk | fonts-droid-fallback, qt6-translations-l10n")
include(CPack)
