# Install rules and Debian packaging for the editor and its command-line companion. Included by
# this folder's CMakeLists.txt after it has defined the executable target hollenby-level-editor;
# hollenby-level is defined later (src/cli), so it is named through generator expressions, which
# are resolved once every target exists.
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

# The companion: previews for file managers, completion in bash. The editor's desktop entry
# claims no MIME type (it reads no command line, so a double-clicked level would open an empty
# window); levels stay text files that file managers open in a text editor, with previews.
install(PROGRAMS $<TARGET_FILE:hollenby-level> DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${HOLLENBY_RESOURCES}/hollenby-level.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES ${HOLLENBY_RESOURCES}/hollenby-level.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME hollenby-level)
install(FILES ${HOLLENBY_RESOURCES}/example.hollenby.LevelEditor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Man pages from --help. The editor reads no command line, so its page comes from a help text
# kept beside a stand-in script instead of from the editor itself.
find_program(HELP2MAN help2man)
if(HELP2MAN)
    set(man_dir ${CMAKE_BINARY_DIR}/man)
    add_custom_command(
        OUTPUT ${man_dir}/hollenby-level.1.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
        COMMAND sh ${HOLLENBY_RESOURCES}/man-commands.sh $<TARGET_FILE:hollenby-level>
                ${HOLLENBY_RESOURCES}/hollenby-level.h2m ${man_dir}/hollenby-level.h2m
        COMMAND ${HELP2MAN} --no-info --version-string "hollenby-level ${PROJECT_VERSION}"
                --name "render, check, preview and exchange the levels of a tile game"
                --include ${man_dir}/hollenby-level.h2m --output ${man_dir}/hollenby-level.1
                $<TARGET_FILE:hollenby-level>
        COMMAND gzip -9nf ${man_dir}/hollenby-level.1
        DEPENDS hollenby-level ${HOLLENBY_RESOURCES}/man-commands.sh
                ${HOLLENBY_RESOURCES}/hollenby-level.h2m
        VERBATIM)
    add_custom_command(
        OUTPUT ${man_dir}/hollenby-level-editor.1.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
        COMMAND ${HELP2MAN} --no-info --version-string "hollenby-level-editor ${PROJECT_VERSION}"
                --name "level editor and viewer for a vertically scrolling tile game"
                --output ${man_dir}/hollenby-level-editor.1 ${HOLLENBY_RESOURCES}/editor-help.sh
        COMMAND gzip -9nf ${man_dir}/hollenby-level-editor.1
        DEPENDS ${HOLLENBY_RESOURCES}/editor-help.sh ${HOLLENBY_RESOURCES}/hollenby-level-editor.help
        VERBATIM)
    add_custom_target(manpages ALL DEPENDS ${man_dir}/hollenby-level.1.gz
                                           ${man_dir}/hollenby-level-editor.1.gz)
    install(FILES ${man_dir}/hollenby-level.1.gz ${man_dir}/hollenby-level-editor.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(STATUS "help2man not found: no man pages")
endif()

# A tile set and a few levels, so that a fresh install has something to open; also the tile set
# that previews fall back on.
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
edits and saves the level text, and plays the level as a looping vertical scroll. The command \
hollenby-level renders levels to PNG, checks them, prints facts about them and makes previews \
for file managers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Hollenby Systems <levels@hollenby.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps finds the libraries the executables link; the desktop, MIME and icon caches are
# refreshed by the triggers of the packages that own them, so no maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The controls' font is loaded from fonts-wine at run time; qt6-wayland lets the editor run as a
# Wayland client rather than through XWayland.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
