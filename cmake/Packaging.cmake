# SPDX-License-Identifier: GPL-3.0-or-later
# The game as a desktop application: its launcher, metainfo, scalable icon and
# README (the program, its read-only copy of the game's files and the drawn
# icons are installed by src/ and tools/), and a Debian package made by CPack.
# Nothing is installed outside the prefix: a player's own folder is made by
# the game itself, so removing the package leaves it alone.
set(desktop_dir ${CMAKE_SOURCE_DIR}/data/desktop)
# The launcher starts the program by its full path (a desktop session's PATH
# need not hold games/), so it is written when the prefix is known: at install
# time, for cmake --install --prefix and for CPack alike.
install(CODE "
  file(READ \"${desktop_dir}/${POMURINA_APP_ID}.desktop\" launcher)
  string(REPLACE \"Exec=pomurina\" \"Exec=\${CMAKE_INSTALL_PREFIX}/games/pomurina\" launcher \"\${launcher}\")
  set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
  message(STATUS \"Installing: \${target}/${POMURINA_APP_ID}.desktop\")
  file(MAKE_DIRECTORY \"\${target}\")
  file(WRITE \"\${target}/${POMURINA_APP_ID}.desktop\" \"\${launcher}\")
")
install(FILES ${desktop_dir}/${POMURINA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/${POMURINA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pomurina)

# What Debian asks of every package: the machine-readable copyright, the
# changelog and the manual page, the last two compressed with gzip -9n (no
# name, no time stamp, so the same sources make the same package).
set(package_dir ${CMAKE_SOURCE_DIR}/data/package)
set(package_docs ${CMAKE_BINARY_DIR}/package-docs)
find_program(POMURINA_GZIP gzip REQUIRED)
# The manual page is English (readable in any locale, the C locale too) and
# Japanese (man-db shows it in Japanese locales).
add_custom_command(OUTPUT ${package_docs}/changelog.gz ${package_docs}/pomurina.6.gz ${package_docs}/ja/pomurina.6.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${package_docs}/ja
  COMMAND sh -c "${POMURINA_GZIP} -9n -c \"$1\" > \"$2\"" gzip ${package_dir}/changelog ${package_docs}/changelog.gz
  COMMAND sh -c "${POMURINA_GZIP} -9n -c \"$1\" > \"$2\"" gzip ${package_dir}/pomurina.6 ${package_docs}/pomurina.6.gz
  COMMAND sh -c "${POMURINA_GZIP} -9n -c \"$1\" > \"$2\"" gzip ${package_dir}/pomurina.ja.6 ${package_docs}/ja/pomurina.6.gz
  DEPENDS ${package_dir}/changelog ${package_dir}/pomurina.6 ${package_dir}/pomurina.ja.6
  COMMENT "Compressing the changelog and the manual pages"
  VERBATIM)
add_custom_target(package_docs ALL
  DEPENDS ${package_docs}/changelog.gz ${package_docs}/pomurina.6.gz ${package_docs}/ja/pomurina.6.gz)
install(FILES ${package_dir}/copyright ${package_docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pomurina)
install(FILES ${package_docs}/pomurina.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${package_docs}/ja/pomurina.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man6)
install(FILES ${package_dir}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME pomurina)

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
new faces made from your own photographs, and MIDI music played.\n\
.\n\
Automatic detection of the parts of a new face uses the face landmark model\n\
of libdlib-data, and only when that package is installed; the data it was\n\
trained on is not licensed for commercial use.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://pomurina.example/)
# Library dependencies come from dpkg-shlibdeps (libheif1 for HEIC, HEIF and
# AVIF photographs among them); the font draws the Japanese texts, and Qt's
# image plugins read WebP photographs (a plugin, loaded at run time, which
# shlibdeps cannot see). The SoundFont only gives the music a voice and Qt's
# translations put the standard dialogs' own buttons and labels in Japanese;
# dlib's model serves the automatic part detection, which the game offers
# only with it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont, qt6-translations-l10n, libdlib-data")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
