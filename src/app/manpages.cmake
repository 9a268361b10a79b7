# Man pages from the programs' help: hollenby-level's from its own --help and the help of each
# command; the editor reads no command line, so its page comes from a help text kept beside a
# stand-in script. Included by install.cmake.

find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
    message(STATUS "help2man not found: no man pages")
    return()
endif()

set(man_dir ${CMAKE_BINARY_DIR}/man)
add_custom_command(
    OUTPUT ${man_dir}/hollenby-level.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
    COMMAND sh ${HOLLENBY_RESOURCES}/man-page.sh $<TARGET_FILE:hollenby-level> ${PROJECT_VERSION}
            ${HOLLENBY_RESOURCES}/hollenby-level.h2m ${man_dir}/hollenby-level.1
    COMMAND gzip -9nf ${man_dir}/hollenby-level.1
    DEPENDS hollenby-level ${HOLLENBY_RESOURCES}/man-page.sh ${HOLLENBY_RESOURCES}/help2roff.awk
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
