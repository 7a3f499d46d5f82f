# The skin, cursors and icons: vector sources in resources/ rendered to 1x and 2x PNG by a host
# tool at build time and compiled into the library quillet_skin_resources as the Qt resource
# "quillet_skin".
add_executable(quillet-skin-render ${CMAKE_CURRENT_LIST_DIR}/tools/SkinRender.cpp)
target_link_libraries(quillet-skin-render PRIVATE Qt6::Gui Qt6::Svg Quillet::warnings)

set(QUILLET_SKIN_OUT ${CMAKE_CURRENT_BINARY_DIR}/skin)
file(GLOB skin_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/skin/*.svg
                                           ${PROJECT_SOURCE_DIR}/resources/cursors/*.svg)
list(SORT skin_sources)
set(icon_apps ${PROJECT_SOURCE_DIR}/resources/icons/quillet.svg)
set(icon_mimetypes ${PROJECT_SOURCE_DIR}/resources/icons/application-x-quillet-loop.svg)
set(icon_sizes 16 22 24 32 48 64 128 256)
set(render ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quillet-skin-render>)

set(skin_pngs "")
set(qrc_entries "")
foreach(source IN LISTS skin_sources)
  get_filename_component(id ${source} NAME_WE)
  list(APPEND skin_pngs ${QUILLET_SKIN_OUT}/pictures/${id}.png ${QUILLET_SKIN_OUT}/pictures/${id}@2x.png)
  string(APPEND qrc_entries "    <file alias=\"skin/${id}.png\">pictures/${id}.png</file>\n"
                            "    <file alias=\"skin/${id}@2x.png\">pictures/${id}@2x.png</file>\n")
endforeach()
add_custom_command(
  OUTPUT ${skin_pngs}
  COMMAND ${render} --pictures ${QUILLET_SKIN_OUT}/pictures ${skin_sources}
  DEPENDS quillet-skin-render ${skin_sources}
  COMMENT "Rendering the skin pictures and cursors")

set(icon_pngs "")
foreach(size IN LISTS icon_sizes)
  list(APPEND icon_pngs ${QUILLET_SKIN_OUT}/hicolor/${size}x${size}/apps/quillet.png
                        ${QUILLET_SKIN_OUT}/hicolor/${size}x${size}/mimetypes/application-x-quillet-loop.png)
  string(APPEND qrc_entries
         "    <file alias=\"icons/${size}x${size}/quillet.png\">hicolor/${size}x${size}/apps/quillet.png</file>\n")
endforeach()
add_custom_command(
  OUTPUT ${icon_pngs}
  COMMAND ${render} --icons ${QUILLET_SKIN_OUT}/hicolor apps ${icon_apps}
  COMMAND ${render} --icons ${QUILLET_SKIN_OUT}/hicolor mimetypes ${icon_mimetypes}
  DEPENDS quillet-skin-render ${icon_apps} ${icon_mimetypes}
  COMMENT "Rendering the application and document icons")

file(WRITE ${QUILLET_SKIN_OUT}/quillet_skin.qrc.in "<RCC>\n  <qresource prefix=\"/\">\n${qrc_entries}  </qresource>\n</RCC>\n")
configure_file(${QUILLET_SKIN_OUT}/quillet_skin.qrc.in ${QUILLET_SKIN_OUT}/quillet_skin.qrc COPYONLY)
add_custom_command(
  OUTPUT ${QUILLET_SKIN_OUT}/qrc_quillet_skin.cpp
  COMMAND Qt6::rcc --name quillet_skin --output ${QUILLET_SKIN_OUT}/qrc_quillet_skin.cpp
          ${QUILLET_SKIN_OUT}/quillet_skin.qrc
  DEPENDS ${QUILLET_SKIN_OUT}/quillet_skin.qrc ${skin_pngs} ${icon_pngs}
  COMMENT "Compiling the skin resources")
add_library(quillet_skin_resources STATIC ${QUILLET_SKIN_OUT}/qrc_quillet_skin.cpp)
add_library(Quillet::skin_resources ALIAS quillet_skin_resources)
target_link_libraries(quillet_skin_resources PRIVATE Qt6::Core)

# A contact sheet of every picture on a dark and a light ground, to look at: build target
# quillet_skin_sheet, written to <build>/ui/skin/contact-sheet.png.
add_custom_command(
  OUTPUT ${QUILLET_SKIN_OUT}/contact-sheet.png
  COMMAND ${render} --sheet ${QUILLET_SKIN_OUT}/contact-sheet.png ${skin_sources} ${icon_apps} ${icon_mimetypes}
  DEPENDS quillet-skin-render ${skin_sources} ${icon_apps} ${icon_mimetypes}
  COMMENT "Drawing the skin's contact sheet")
add_custom_target(quillet_skin_sheet DEPENDS ${QUILLET_SKIN_OUT}/contact-sheet.png)

include(GNUInstallDirs)
install(DIRECTORY ${QUILLET_SKIN_OUT}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${icon_apps} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${icon_mimetypes} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)
