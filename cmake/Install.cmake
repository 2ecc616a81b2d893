# Install layout: the window, the cutter and the two libraries they load at run time share one
# private folder, because each program looks for its libraries beside its own executable. The
# commands in the binary folder are symbolic links to them (the programs find their folder
# through /proc/self/exe, which names the link's target).
set(TESMIRA_PRIVATE_DIR ${CMAKE_INSTALL_LIBDIR}/tesmira)
set(TESMIRA_PROGRAMS tesmira-cut)
if(TARGET tesmira)
    list(APPEND TESMIRA_PROGRAMS tesmira)
endif()

install(TARGETS ${TESMIRA_PROGRAMS} RUNTIME DESTINATION ${TESMIRA_PRIVATE_DIR})
install(TARGETS encmp3 Plovex1 LIBRARY DESTINATION ${TESMIRA_PRIVATE_DIR})

# Relative links, so the tree can be moved or installed under DESTDIR or another prefix.
file(RELATIVE_PATH TESMIRA_LINK_PREFIX /root/${CMAKE_INSTALL_BINDIR} /root/${TESMIRA_PRIVATE_DIR})
foreach(program IN LISTS TESMIRA_PROGRAMS)
    install(CODE "
        set(bin_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bin_dir}\")
        file(REMOVE \"\${bin_dir}/${program}\")
        file(CREATE_LINK \"${TESMIRA_LINK_PREFIX}/${program}\" \"\${bin_dir}/${program}\" SYMBOLIC)
        message(STATUS \"Installing: \${bin_dir}/${program} -> ${TESMIRA_LINK_PREFIX}/${program}\")
    ")
endforeach()

if(TARGET tesmira)
    install(FILES ${PROJECT_SOURCE_DIR}/res/tesmira.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/res/images/tesmira-128.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME tesmira.png)
    install(FILES ${PROJECT_SOURCE_DIR}/res/images/tesmira.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
