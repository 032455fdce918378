# The bundled demo: a scripted walk through the start-up arena, written by the asset tool against
# the compiled map (the demo holds that map's hash, so it follows every change of the map).
set(TAM_TOUR_DEMO ${TAM_DATA_DIR}/Demos/tour.dem)
add_custom_command(
  OUTPUT ${TAM_TOUR_DEMO}
  COMMAND tamasset demo tour ${TAM_DATA_DIR}/Maps/isengard.map ${TAM_TOUR_DEMO}
  DEPENDS ${TAM_DATA_DIR}/Maps/isengard.map tamasset
  COMMENT "Writing the demo tour"
  VERBATIM)
tam_data_output(${TAM_TOUR_DEMO})
