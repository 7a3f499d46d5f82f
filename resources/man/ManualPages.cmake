# The manual pages quillet(1) and quillet-cli(1), written in roff beside the code, installed
# compressed as Debian keeps them.
include(GNUInstallDirs)
find_program(QUILLET_GZIP gzip)
set(manual_pages ${CMAKE_CURRENT_LIST_DIR}/quillet-cli.1)
if(QUILLET_BUILD_GUI)
  list(APPEND manual_pages ${CMAKE_CURRENT_LIST_DIR}/quillet.1)
endif()
set(manual_outputs "")
foreach(page IN LISTS manual_pages)
  get_filename_component(name ${page} NAME)
  if(QUILLET_GZIP)
    set(output ${PROJECT_BINARY_DIR}/man/${name}.gz)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
                       COMMAND ${QUILLET_GZIP} -9 -n -c ${page} > ${output}
                       DEPENDS ${page}
                       COMMENT "Compressing the manual page ${name}")
    list(APPEND manual_outputs ${output})
  else()
    list(APPEND manual_outputs ${page})
  endif()
endforeach()
add_custom_target(quillet_manual_pages ALL DEPENDS ${manual_outputs})
install(FILES ${manual_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
