# Installs the programs, the manual page, the desktop entry and icon, and the licence into
# the usual places below the prefix, and describes the Debian packages that `cpack` makes
# from them in the build folder: corvane with the command-line program, and corvane-gui
# with the desktop program, so that the command line can be installed without Qt.

include(GNUInstallDirs)

# Manual pages are installed compressed, without a time stamp, so that packages built from
# the same sources hold the same bytes.
set(manPage ${CMAKE_BINARY_DIR}/corvane.1.gz)
add_custom_command(OUTPUT ${manPage}
                   COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/corvane.1 > ${manPage}
                   DEPENDS ${CMAKE_SOURCE_DIR}/packaging/corvane.1)
add_custom_target(corvane_man_page ALL DEPENDS ${manPage})

# Each package's documentation folder is named after it (CMAKE_INSTALL_DOCDIR would take the
# project's name) and holds the licence twice: as LICENSE, and as copyright, where a Debian
# system looks for it.
function(corvane_install_licence package component)
  set(docDir ${CMAKE_INSTALL_DATADIR}/doc/${package})
  install(FILES LICENSE DESTINATION ${docDir} COMPONENT ${component})
  install(FILES LICENSE DESTINATION ${docDir} RENAME copyright COMPONENT ${component})
endfunction()

install(TARGETS corvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(FILES ${manPage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
corvane_install_licence(corvane cli)
if(TARGET corvane-gui)
  install(TARGETS corvane-gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
  install(FILES packaging/corvane-gui.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT gui)
  install(FILES packaging/corvane-gui.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          COMPONENT gui)
  corvane_install_licence(corvane-gui gui)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_CONTACT "The Corvane developers")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The dependencies are the packages of the shared libraries each program links, as
# dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# A package's description: its summary line, then what it is, in lines of a terminal's width.
set(about "Corvane makes GIF files smaller without changing how they look, in batches,\n"
          "and turns pictures of many formats into JPEG files at a chosen quality.\n")
set(CPACK_DEBIAN_CLI_PACKAGE_NAME corvane)
string(CONCAT CPACK_COMPONENT_CLI_DESCRIPTION "lossless GIF optimizer and JPEG recompressor, command line\n" ${about}
       "This package holds the command-line program, corvane.")
set(CPACK_DEBIAN_GUI_PACKAGE_NAME corvane-gui)
string(CONCAT CPACK_COMPONENT_GUI_DESCRIPTION "lossless GIF optimizer and JPEG recompressor, desktop program\n" ${about}
       "This package holds the desktop program, corvane-gui.")
include(CPack)
