# Installing on Linux and the .deb package.
#   prefix/bin/plugin-generator                  link to the program
#   prefix/lib/plugin-generator/                 the program and its webview library, side by side
#   prefix/share/applications/plugin-generator.desktop
#   prefix/share/icons/hicolor/NxN/apps/plugin-generator.png
#   prefix/share/doc/plugin-generator/           copyright, changelog
#   prefix/share/man/man1/plugin-generator.1.gz
set(PRIVATE_LIB_DIR lib/plugin-generator)

install(TARGETS plugin-generator RUNTIME DESTINATION ${PRIVATE_LIB_DIR})
install(FILES ${WEBVIEW_LIBRARY} DESTINATION ${PRIVATE_LIB_DIR})
# The program looks for the library beside its real path, so bin/ holds a link, not a copy.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
file(CREATE_LINK ../${PRIVATE_LIB_DIR}/plugin-generator
     ${CMAKE_BINARY_DIR}/install-links/plugin-generator SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install-links/plugin-generator DESTINATION bin)
install(FILES packaging/linux/plugin-generator.desktop DESTINATION share/applications)
install(DIRECTORY ${PROGRAM_ICON_DIR}/hicolor DESTINATION share/icons)

set(DOC_DIR share/doc/plugin-generator)
foreach(doc changelog plugin-generator.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${doc}.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/linux/${doc} > ${CMAKE_BINARY_DIR}/${doc}.gz
    DEPENDS packaging/linux/${doc})
endforeach()
add_custom_target(package_docs ALL
  DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz ${CMAKE_BINARY_DIR}/plugin-generator.1.gz)
install(FILES packaging/linux/copyright DESTINATION ${DOC_DIR})
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${DOC_DIR} RENAME changelog.Debian.gz)
install(FILES ${CMAKE_BINARY_DIR}/plugin-generator.1.gz DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plugin-generator)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_CONTACT "Mardova Support <support@mardova.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Plug-in generator for Kestrolan Web")
set(CPACK_PACKAGE_DESCRIPTION "Opens the on-line plug-in generator in a window of its own
and installs the plug-in files it makes into Documents/KestrolanWeb/PlugIns,
where Kestrolan Web finds them.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # libc, GTK 4, WebKitGTK 6.0 ... as the binaries need them
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgtk-4-1, libwebkitgtk-6.0-4")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
