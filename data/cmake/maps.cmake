# Maps: each data/maps/*.txt is compiled by the asset tool into game/Data/Maps/<name>.map.
file(GLOB TAM_MAP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/maps/*.txt)
foreach(src ${TAM_MAP_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  set(out ${TAM_DATA_DIR}/Maps/${name}.map)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TAM_DATA_DIR}/Maps
    COMMAND tamasset map compile ${src} ${out}
    DEPENDS ${src} tamasset
    COMMENT "Compiling map ${name}"
    VERBATIM)
  tam_data_output(${out})
endforeach()
