# Install rules and Debian packaging for the editor and its command-line companion. Included by
# the top-level CMakeLists.txt once every target exists.
#
#   cmake --build build --target package    # builds hollenby-level-editor_<version>_<arch>.deb

include(GNUInstallDirs)

set(HOLLENBY_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/resources)
set(HOLLENBY_COMPLETION ${CMAKE_CURRENT_LIST_DIR}/completion)
set(HOLLENBY_PACKAGE ${CMAKE_CURRENT_LIST_DIR}/package)

# As targets, so that a package gets them stripped (CPACK_STRIP_FILES); the build tree keeps its
# debug information.
install(TARGETS hollenby-level-editor hollenby-level RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# What Debian's own stripping also drops: the compiler's notes.
install(CODE "
if(CMAKE_INSTALL_DO_STRIP)
    foreach(program hollenby-level-editor hollenby-level)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
    endforeach()
endif()")
install(FILES ${HOLLENBY_RESOURCES}/hollenby-level-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${HOLLENBY_RESOURCES}/hollenby-level.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${HOLLENBY_RESOURCES}/icons/hollenby-level-editor-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME hollenby-level-editor.png)
endforeach()

# The companion: previews for file managers, completion in bash, zsh and fish. The editor's
# desktop entry claims no MIME type (it reads no command line, so a double-clicked level would
# open an empty window); levels stay text files that file managers open in a text editor, with
# previews.
install(FILES ${HOLLENBY_RESOURCES}/hollenby-level.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES ${HOLLENBY_RESOURCES}/example.hollenby.LevelEditor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Each shell's completion carries the one awk program that reads the program's help.
file(READ ${HOLLENBY_COMPLETION}/words.awk HOLLENBY_WORDS_AWK)
if(HOLLENBY_WORDS_AWK MATCHES "['\\\\]")
    message(FATAL_ERROR "words.awk: no single quote or backslash, the completions quote it whole")
endif()
set(completion_dir ${CMAKE_BINARY_DIR}/completion)
configure_file(${HOLLENBY_COMPLETION}/hollenby-level.bash.in ${completion_dir}/hollenby-level
               @ONLY)
configure_file(${HOLLENBY_COMPLETION}/_hollenby-level.in ${completion_dir}/_hollenby-level @ONLY)
configure_file(${HOLLENBY_COMPLETION}/hollenby-level.fish.in
               ${completion_dir}/hollenby-level.fish @ONLY)
install(FILES ${completion_dir}/hollenby-level
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${completion_dir}/_hollenby-level
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${completion_dir}/hollenby-level.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

include(${CMAKE_CURRENT_LIST_DIR}/manpages.cmake)

# A tile set and a few levels, so that a fresh install has something to open.
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/../../samples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/hollenby-level-editor/samples
        FILES_MATCHING PATTERN "*.lvl" PATTERN "*.bmp" PATTERN "README.md")

# Debian's copyright file (its machine-readable form, around the licence in LICENSE) and the
# changelog, compressed as Debian installs it.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${licence}")
set(HOLLENBY_COPYRIGHT ${CMAKE_MATCH_1})
string(REGEX REPLACE "^.*\n\nPermission" "Permission" licence "${licence}")
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " licence "${licence}")
set(HOLLENBY_LICENCE " ${licence}")
set(doc_dir ${CMAKE_BINARY_DIR}/doc)
configure_file(${HOLLENBY_PACKAGE}/copyright.in ${doc_dir}/copyright @ONLY)
add_custom_command(
    OUTPUT ${doc_dir}/changelog.gz
    COMMAND gzip -9nc ${HOLLENBY_PACKAGE}/changelog > ${doc_dir}/changelog.gz
    DEPENDS ${HOLLENBY_PACKAGE}/changelog)
add_custom_target(changelog ALL DEPENDS ${doc_dir}/changelog.gz)
install(FILES ${doc_dir}/copyright ${doc_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Outside a package (which the system's triggers refresh), the MIME and desktop databases of the
# prefix are brought up to date, so that a level is a level there too and not plain text.
install(CODE [[
if("$ENV{DESTDIR}" STREQUAL "")
    foreach(tool update-mime-database update-desktop-database)
        set(folder mime)
        if(tool STREQUAL update-desktop-database)
            set(folder applications)
        endif()
        find_program(found_${tool} ${tool})
        if(found_${tool})
            execute_process(COMMAND ${found_${tool}} ${CMAKE_INSTALL_PREFIX}/share/${folder}
                            RESULT_VARIABLE failed)
            if(failed)
                message(WARNING "${tool} ${CMAKE_INSTALL_PREFIX}/share/${folder} failed")
            endif()
        else()
            message(STATUS "${tool} not found: run it on ${CMAKE_INSTALL_PREFIX}/share/${folder}")
        endif()
    endforeach()
endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hollenby-level-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Hollenby Systems")
set(CPACK_PACKAGE_CONTACT "Hollenby Systems <levels@hollenby.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Level editor and viewer for a vertically scrolling tile game")
# Lines of at most 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Shows a level drawn from its tile bitmaps, lists the tile set, estimates the
play time, edits and saves the level text, and plays the level as a looping
vertical scroll. The command hollenby-level renders levels to PNG, checks them,
prints facts about them, makes previews for file managers and exchanges levels
with the Tiled map editor.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Hollenby Systems <levels@hollenby.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
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
