# What `cmake --install` and `cpack -G DEB` put where (layout: cmake/InstallLayout.cmake).
set(TESMIRA_PROGRAMS tesmira-cut)
if(TARGET tesmira)
    list(APPEND TESMIRA_PROGRAMS tesmira)
endif()
# The library path's fallback for the encoder library finds the private folder too.
set_target_properties(${TESMIRA_PROGRAMS} PROPERTIES
    INSTALL_RPATH "$ORIGIN/${TESMIRA_PRIVATE_LIBDIR_FROM_BINDIR}")
install(TARGETS ${TESMIRA_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS encmp3 Plovex1 LIBRARY DESTINATION ${TESMIRA_INSTALL_PRIVATE_LIBDIR})

# The cutter's manual page, made from its --help.
find_program(TESMIRA_HELP2MAN help2man)
if(TESMIRA_HELP2MAN)
    set(TESMIRA_CUT_MAN ${PROJECT_BINARY_DIR}/man/tesmira-cut.1)
    add_custom_command(OUTPUT ${TESMIRA_CUT_MAN}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND ${TESMIRA_HELP2MAN} --no-info --section=1 --locale=C.UTF-8
            "--name=cut a piece out of an MP3 into a new 320 kbit/s MP3"
            --output=${TESMIRA_CUT_MAN} $<TARGET_FILE:tesmira-cut>
        COMMAND gzip -9nf ${TESMIRA_CUT_MAN}
        DEPENDS tesmira-cut
        COMMENT "Making the manual page of tesmira-cut")
    add_custom_target(tesmira-cut-man ALL DEPENDS ${TESMIRA_CUT_MAN}.gz)
    install(FILES ${TESMIRA_CUT_MAN}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(STATUS "help2man not found: tesmira-cut's manual page is not made")
endif()

if(TARGET tesmira)
    set(TESMIRA_MAN ${PROJECT_BINARY_DIR}/man/tesmira.1.gz)
    add_custom_command(OUTPUT ${TESMIRA_MAN}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/res/tesmira.1 > ${TESMIRA_MAN}
        DEPENDS ${PROJECT_SOURCE_DIR}/res/tesmira.1)
    add_custom_target(tesmira-man ALL DEPENDS ${TESMIRA_MAN})
    install(FILES ${TESMIRA_MAN} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${PROJECT_SOURCE_DIR}/res/tesmira.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/res/images/tesmira-128.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME tesmira.png)
    install(FILES ${PROJECT_SOURCE_DIR}/res/images/tesmira.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${PROJECT_SOURCE_DIR}/res/org.example.tesmira.Tesmira.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The licence and the package's history where Debian keeps them, and the cutter's options
# for bash.
set(TESMIRA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tesmira)
install(FILES ${PROJECT_SOURCE_DIR}/res/debian/copyright DESTINATION ${TESMIRA_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/debian/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tesmira)
set(TESMIRA_CHANGELOG ${PROJECT_BINARY_DIR}/doc/changelog.Debian.gz)
add_custom_command(OUTPUT ${TESMIRA_CHANGELOG}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/res/debian/changelog > ${TESMIRA_CHANGELOG}
    DEPENDS ${PROJECT_SOURCE_DIR}/res/debian/changelog)
add_custom_target(tesmira-changelog ALL DEPENDS ${TESMIRA_CHANGELOG})
install(FILES ${TESMIRA_CHANGELOG} DESTINATION ${TESMIRA_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/tesmira-cut.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tesmira-cut)

include(cmake/Package.cmake)
