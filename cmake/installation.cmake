# What `cmake --install` and the Debian package put where: the programs in bin/ (their own
# CMakeLists.txt), the manual pages, the bash completion and the example installation as
# templates.

install(FILES docs/man/radmill.1 docs/man/radmill-info.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES docs/man/radmill.conf.5 DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
install(FILES scripts/radmill-completion.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME radmill)

# The example installation: a commented radmill.conf and the four colour-scale files.
set(RADMILL_TEMPLATE_NAMES
    radmill.conf
    default_color_scales.json
    color_scales.json
    default_color_scales_palette.json
    color_scales_palette.json)
# The directory radmill's missing-configuration message names (config_template in
# app/pipe_environment.cpp), when the prefix is /usr as in the Debian package.
set(RADMILL_TEMPLATE_DIR /etc/corvane/alvoacq_templates)

# Under any other prefix the templates go into that prefix's sysconfdir. The prefix is only
# known when installing (`cmake --install --prefix`, cpack), so the directory is chosen then.
list(TRANSFORM RADMILL_TEMPLATE_NAMES PREPEND "${PROJECT_SOURCE_DIR}/examples/install/"
    OUTPUT_VARIABLE template_sources)
string(CONFIGURE [[
    set(sysconfdir "@CMAKE_INSTALL_SYSCONFDIR@")
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(template_dir "@RADMILL_TEMPLATE_DIR@")
    elseif(IS_ABSOLUTE "${sysconfdir}")
        set(template_dir "${sysconfdir}/corvane/alvoacq_templates")
    else()
        set(template_dir "${CMAKE_INSTALL_PREFIX}/${sysconfdir}/corvane/alvoacq_templates")
    endif()
    file(INSTALL DESTINATION "${template_dir}" TYPE FILE FILES @template_sources@)
]] install_templates @ONLY)
install(CODE "${install_templates}")
