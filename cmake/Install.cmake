# `cmake --install` and the Debian package lay out the program as a Linux desktop program:
#   <prefix>/bin/                          cadrelle and cadrelle-cli
#   <prefix>/share/cadrelle/               the delivered catalogue, documents/ and help/: read-only copies from
#                                          which each user's data folder ($XDG_DATA_HOME/Cadrelle) is filled on
#                                          the first start. The program finds them as ../share/cadrelle from its
#                                          own folder, so the two folder names below are fixed.
#   <prefix>/share/applications/           cadrelle.desktop
#   <prefix>/share/icons/hicolor/          the icon, scalable and 48, 128 and 256 px
#   <prefix>/share/metainfo/               the AppStream description
#   <prefix>/share/man/man1/               cadrelle.1.gz and cadrelle-cli.1.gz
#   <prefix>/share/doc/cadrelle/           copyright and changelog.gz
# With the prefix ~/.local the desktop lists the program at once.
set(CADRELLE_PACKAGE_MAINTAINER "Cadrelle maintainers <maintainers@cadrelle.org>"
    CACHE STRING "The maintainer named in the Debian package and its changelog")
set(share ${CMAKE_BINARY_DIR}/share)

install(TARGETS cadrelle cadrelle-cli RUNTIME DESTINATION bin)
install(FILES ${CADRELLE_FRESH_CATALOGUE} DESTINATION share/cadrelle)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/install/documents ${PROJECT_SOURCE_DIR}/install/help
        DESTINATION share/cadrelle)

# The icon: the drawing itself, and pictures rendered from it for the sizes desktops ask for.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(CADRELLE_ICON ${PROJECT_SOURCE_DIR}/resources/icons/cadrelle.svg)
set(icons "")
foreach(size 48 128 256)
    set(png ${share}/icons/${size}x${size}/cadrelle.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${share}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${CADRELLE_ICON}
        DEPENDS ${CADRELLE_ICON} VERBATIM)
    list(APPEND icons ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CADRELLE_ICON} DESTINATION share/icons/hicolor/scalable/apps)

# The manual pages and the changelog, compressed as Debian keeps them; the version comes from the project.
set(compressed "")
foreach(page cadrelle.1 cadrelle-cli.1 changelog)
    if(page STREQUAL "changelog")
        configure_file(${PROJECT_SOURCE_DIR}/install/debian/changelog.in ${share}/doc/changelog @ONLY)
        set(plain ${share}/doc/changelog)
    else()
        configure_file(${PROJECT_SOURCE_DIR}/install/man/${page}.in ${share}/man/${page} @ONLY)
        set(plain ${share}/man/${page})
    endif()
    add_custom_command(OUTPUT ${plain}.gz
        COMMAND gzip -9nkf ${plain}
        DEPENDS ${plain} VERBATIM)
    list(APPEND compressed ${plain}.gz)
endforeach()
install(FILES ${share}/man/cadrelle.1.gz ${share}/man/cadrelle-cli.1.gz DESTINATION share/man/man1)
install(FILES ${share}/doc/changelog.gz ${PROJECT_SOURCE_DIR}/install/debian/copyright DESTINATION share/doc/cadrelle)

configure_file(${PROJECT_SOURCE_DIR}/install/org.cadrelle.Cadrelle.metainfo.xml.in
               ${share}/metainfo/org.cadrelle.Cadrelle.metainfo.xml @ONLY)
install(FILES ${share}/metainfo/org.cadrelle.Cadrelle.metainfo.xml DESTINATION share/metainfo)

add_custom_target(installfiles ALL DEPENDS ${icons} ${compressed})

# The desktop entry starts `cadrelle` from the PATH, as packages do; under any other prefix, whose bin/ folder
# may not be on the desktop's PATH, it names the program's full path. The prefix is known only when the install
# runs (--prefix may change it).
install(CODE "
    file(READ \"${PROJECT_SOURCE_DIR}/install/cadrelle.desktop\" entry)
    if(NOT CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
        string(REPLACE \"\\nExec=cadrelle\" \"\\nExec=\\\"\${CMAKE_INSTALL_PREFIX}/bin/cadrelle\\\"\" entry \"\${entry}\")
    endif()
    file(WRITE \"${share}/applications/cadrelle.desktop\" \"\${entry}\")
    file(INSTALL \"${share}/applications/cadrelle.desktop\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
")
