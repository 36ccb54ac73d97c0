# `cmake --install` lays out the same program folder as the build, under the prefix:
#   <prefix>/cadrelle/                the program, cadrelle-cli, cadrelle.db (only when absent), documents/,
#                                     help/, temp/
#   <prefix>/share/applications/      cadrelle.desktop, which starts the program in its folder
#   <prefix>/share/icons/hicolor/...  the application icon
# With the prefix ~/.local the desktop lists the program at once.
set(CADRELLE_INSTALL_FOLDER cadrelle CACHE STRING "The program folder, relative to the install prefix")
set(CADRELLE_ICON_FOLDER share/icons/hicolor/scalable/apps)

install(TARGETS cadrelle cadrelle-cli RUNTIME DESTINATION ${CADRELLE_INSTALL_FOLDER})
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/cadrelle.svg DESTINATION ${CADRELLE_ICON_FOLDER})

# The prefix is known only when the install runs (--prefix may change it), so the folder is laid out
# and the desktop file's paths are written then.
install(CODE "
    set(SOURCE \"${PROJECT_SOURCE_DIR}/install\")
    set(CATALOGUE \"${CADRELLE_FRESH_CATALOGUE}\")
    set(TARGET \"\${CMAKE_INSTALL_PREFIX}/${CADRELLE_INSTALL_FOLDER}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/StageProgramFolder.cmake\")

    file(READ \"${PROJECT_SOURCE_DIR}/install/cadrelle.desktop\" entry)
    string(REGEX REPLACE \"\\nExec=[^\\n]*\" \"\\nExec=\\\"\${TARGET}/cadrelle\\\"\" entry \"\${entry}\")
    string(REGEX REPLACE \"\\nPath=[^\\n]*\" \"\\nPath=\${TARGET}\" entry \"\${entry}\")
    string(REGEX REPLACE \"\\nIcon=[^\\n]*\" \"\\nIcon=\${CMAKE_INSTALL_PREFIX}/${CADRELLE_ICON_FOLDER}/cadrelle.svg\"
           entry \"\${entry}\")
    file(WRITE \"${CMAKE_BINARY_DIR}/desktop/cadrelle.desktop\" \"\${entry}\")
    file(INSTALL \"${CMAKE_BINARY_DIR}/desktop/cadrelle.desktop\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
")
