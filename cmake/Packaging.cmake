# The game as a desktop application: its launcher, metainfo, scalable icon and
# README (the program, its read-only copy of the game's files and the drawn
# icons are installed by src/ and tools/), and a Debian package made by CPack.
# Nothing is installed outside the prefix: a player's own folder is made by
# the game itself, so removing the package leaves it alone.
set(desktop_dir ${CMAKE_SOURCE_DIR}/data/desktop)
install(FILES ${desktop_dir}/${POMURINA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${POMURINA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/${POMURINA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pomurina)

# cpack -G DEB in the build folder: pomurina_<version>_<arch>.deb under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pomurina)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_VENDOR "ポムリナ")
set(CPACK_PACKAGE_CONTACT "ポムリナ <pomurina@pomurina.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fukuwarai game: put the eyes, nose and mouth back on a face")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "ポムリナ (Pomurina) is a desktop game of the New Year fukuwarai. Pick a face,\n\
drag a right eye, a left eye, a nose and a mouth from four shuffled palettes\n\
onto it, and the game scores how close you came. Finished faces can be saved,\n\
new faces made from your own photographs, and MIDI music played.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://pomurina.example/)
# Library dependencies come from dpkg-shlibdeps; the font draws the Japanese
# texts, the SoundFont only gives the music a voice and Qt's translations put
# the standard dialogs' own buttons and labels in Japanese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
