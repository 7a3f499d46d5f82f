# `cmake --install`: the programs, the desktop entry, the loop file's MIME type, the bash
# completion and the README. The icons are installed with the skin (ui/skin/SkinResources.cmake),
# the manual pages by resources/man/ManualPages.cmake.
include(GNUInstallDirs)
if(TARGET quillet)
  install(TARGETS quillet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS quillet-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillet.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillet)
install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/quillet-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
