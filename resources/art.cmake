# The pictures: tools/artgen of the native build draws them into
# NORVU_GENERATED, where the resource compiler finds the files art.rc names.
set(norvu_art_files
  ${NORVU_GENERATED}/side_panel.bmp
  ${NORVU_GENERATED}/setup.ico
  ${NORVU_GENERATED}/folder.ico
  ${NORVU_GENERATED}/folder_up.ico
  ${NORVU_GENERATED}/folder_target.ico)
add_custom_command(
  OUTPUT ${norvu_art_files}
  COMMAND ${NORVU_HOST_TOOLS}/artgen ${NORVU_GENERATED}
  DEPENDS ${NORVU_HOST_TOOLS}/artgen
  COMMENT "Drawing the side panel and the icons")
add_custom_target(norvu_art DEPENDS ${norvu_art_files})
add_dependencies(setup_resources norvu_art)
# The resource compiler's inputs include the pictures: recompile when they change.
set_source_files_properties(setup.rc PROPERTIES OBJECT_DEPENDS "${norvu_art_files}")

# artgen's own tests are a native program; run them with the rest.
norvu_native_test(artgen_tests artgen_tests)
