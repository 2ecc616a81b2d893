# Install layout: the window and the cutter in the binary folder, the two libraries they load
# at run time in a private folder under the library folder. The programs find that folder
# relative to their own, so the tree also works unpacked under another root.
include(GNUInstallDirs)
set(TESMIRA_INSTALL_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/tesmira)
cmake_path(ABSOLUTE_PATH TESMIRA_INSTALL_PRIVATE_LIBDIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
    OUTPUT_VARIABLE TESMIRA_FULL_PRIVATE_LIBDIR)
cmake_path(RELATIVE_PATH TESMIRA_FULL_PRIVATE_LIBDIR BASE_DIRECTORY ${CMAKE_INSTALL_FULL_BINDIR}
    OUTPUT_VARIABLE TESMIRA_PRIVATE_LIBDIR_FROM_BINDIR)
