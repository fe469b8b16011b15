# Program, desktop entry, icon, and the sample problems where the entry's working folder
# finds them as "Mondai.dat".
include(GNUInstallDirs)

install(TARGETS fizmo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/Mondai.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/fizmo)
install(FILES ${PROJECT_SOURCE_DIR}/res/fizmo.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
if(EXISTS ${PROJECT_SOURCE_DIR}/res/fizmo-128.png)
  install(FILES ${PROJECT_SOURCE_DIR}/res/fizmo-128.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME fizmo.png)
endif()

# The working folder is written at install time, so it follows --prefix.
install(CODE "
  set(FIZMO_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/fizmo\")
  configure_file(\"${PROJECT_SOURCE_DIR}/res/fizmo.desktop.in\"
                 \"${PROJECT_BINARY_DIR}/fizmo.desktop\" @ONLY)
  file(INSTALL \"${PROJECT_BINARY_DIR}/fizmo.desktop\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")
