# Install rules and Debian packaging for the editor. Included by this folder's CMakeLists.txt
# after it has defined the executable target hollenby-level-editor.
#
#   cmake --build build --target package    # builds hollenby-level-editor_<version>_<arch>.deb

include(GNUInstallDirs)

set(HOLLENBY_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/resources)

install(TARGETS hollenby-level-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${HOLLENBY_RESOURCES}/hollenby-level-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${HOLLENBY_RESOURCES}/hollenby-level.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${HOLLENBY_RESOURCES}/icons/hollenby-level-editor-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME hollenby-level-editor.png)
endforeach()

# A tile set and a few levels, so that a fresh install has something to open.
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/../../samples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/hollenby-level-editor/samples
        FILES_MATCHING PATTERN "*.lvl" PATTERN "*.bmp" PATTERN "README.md")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hollenby-level-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Hollenby Systems")
set(CPACK_PACKAGE_CONTACT "Hollenby Systems <levels@hollenby.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Level editor and viewer for a vertically scrolling tile game")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows a level drawn from its tile bitmaps, lists the tile set, estimates the play time, \
edits and saves the level text, and plays the level as a looping vertical scroll.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Hollenby Systems <levels@hollenby.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps finds the Qt libraries the executable links; the desktop, MIME and icon caches
# are refreshed by the triggers of the packages that own them, so no maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
