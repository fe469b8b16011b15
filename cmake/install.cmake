# Program, desktop entry, icons, software-centre metadata, manual pages and the sample problems
# where the entry's working folder finds them as "Mondai.dat".
include(GNUInstallDirs)

# Games live in games/, beside bin/: Debian keeps them there and its users' PATH has it.
set(FIZMO_INSTALL_GAMESDIR games CACHE STRING "Where the program goes, relative to the prefix")
set(FIZMO_APP_ID org.example.fizmo CACHE STRING "Reverse-DNS id of the software-centre metadata")
set(FIZMO_HOMEPAGE "https://fizmo.example.org" CACHE STRING "The project's home page")
set(FIZMO_SCREENSHOT_URL "${FIZMO_HOMEPAGE}/screenshot.png" CACHE STRING "For software centres")
# The day this version was released: moves with the version in project().
set(FIZMO_RELEASE_DATE 2026-12-08)
set(FIZMO_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 00:00:00 +0000")
set(FIZMO_MAINTAINER "Fizmo developers <developers@fizmo.example.org>" CACHE STRING
    "Package maintainer")
set(FIZMO_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/fizmo)

install(TARGETS fizmo RUNTIME DESTINATION ${FIZMO_INSTALL_GAMESDIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/Mondai.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/fizmo)
# Word-problem sets for school years 1 to 3, chosen by name from the game.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/res/problems/ DESTINATION ${CMAKE_INSTALL_DATADIR}/fizmo/problems)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/res/icons/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor FILES_MATCHING PATTERN "fizmo.png")

configure_file(${PROJECT_SOURCE_DIR}/res/fizmo.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${FIZMO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${FIZMO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog are shipped compressed, without time stamps, as Debian does.
configure_file(${PROJECT_SOURCE_DIR}/docs/fizmo.6 ${PROJECT_BINARY_DIR}/man/fizmo.6 COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/docs/fizmo.ja.6 ${PROJECT_BINARY_DIR}/man/ja/fizmo.6 COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/pkg/changelog
               @ONLY)
set(FIZMO_GZIPPED)
foreach(file man/fizmo.6 man/ja/fizmo.6 pkg/changelog)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${file}.gz
                     COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/${file}
                     DEPENDS ${PROJECT_BINARY_DIR}/${file} VERBATIM)
  list(APPEND FIZMO_GZIPPED ${PROJECT_BINARY_DIR}/${file}.gz)
endforeach()
add_custom_target(fizmo_gzipped_docs ALL DEPENDS ${FIZMO_GZIPPED})
install(FILES ${PROJECT_BINARY_DIR}/man/fizmo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_BINARY_DIR}/man/ja/fizmo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man6)
install(FILES ${PROJECT_BINARY_DIR}/pkg/changelog.gz DESTINATION ${FIZMO_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${FIZMO_DOCDIR} RENAME copyright)

# The entry names the program and its working folder by full path, written at install time so
# that both follow --prefix; a staging folder comes in through DESTDIR and stays out of them.
install(CODE "
  set(FIZMO_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${FIZMO_INSTALL_GAMESDIR}/fizmo\")
  set(FIZMO_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/fizmo\")
  configure_file(\"${PROJECT_SOURCE_DIR}/res/fizmo.desktop.in\"
                 \"${PROJECT_BINARY_DIR}/fizmo.desktop\" @ONLY)
  file(INSTALL \"${PROJECT_BINARY_DIR}/fizmo.desktop\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")
