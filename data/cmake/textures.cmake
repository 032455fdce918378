# Pictures of the game: the eight world textures, the five sky faces and the HUD font, all made
# by our asset tool from procedural code and the machine's DejaVu Sans Mono faces (the tool finds
# them with fontconfig).

set(TAM_ART_SOURCES
  ${CMAKE_SOURCE_DIR}/tools/asset/pictures/art_noise.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/pictures/art_textures.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/pictures/art_sky.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/pictures/art_font.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/pictures/art_icon.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/pictures/art_hud_preview.cpp)

set(TAM_WORLD_TEXTURES)
foreach(name Wall out Texture11 In Texture12 map sky1 sky2)
  list(APPEND TAM_WORLD_TEXTURES ${TAM_DATA_DIR}/textures/${name}.tga)
endforeach()
add_custom_command(OUTPUT ${TAM_WORLD_TEXTURES}
  COMMAND tamasset textures ${TAM_DATA_DIR}/textures
  DEPENDS tamasset
  COMMENT "Making the world textures")

set(TAM_SKY_FACES)
foreach(name Ft lf bk rt up)
  list(APPEND TAM_SKY_FACES ${TAM_DATA_DIR}/Sky/${name}.tga)
endforeach()
add_custom_command(OUTPUT ${TAM_SKY_FACES}
  COMMAND tamasset sky ${TAM_DATA_DIR}/Sky
  DEPENDS tamasset
  COMMENT "Making the sky faces")

add_custom_command(OUTPUT ${TAM_DATA_DIR}/Font/Font.tga
  COMMAND tamasset font ${TAM_DATA_DIR}/Font/Font.tga
  DEPENDS tamasset
  COMMENT "Making the HUD font")

tam_data_output(${TAM_WORLD_TEXTURES} ${TAM_SKY_FACES} ${TAM_DATA_DIR}/Font/Font.tga)

# The unit tests check the generators themselves: they are built into the test program once
# the tests folder has made it.
function(tam_art_into_tests)
  if(TARGET tamtests)
    target_sources(tamtests PRIVATE ${TAM_ART_SOURCES} ${CMAKE_SOURCE_DIR}/tools/asset/images/image_write.cpp
      ${CMAKE_SOURCE_DIR}/tools/asset/tool_files.cpp)
    target_include_directories(tamtests PRIVATE ${CMAKE_SOURCE_DIR}/tools)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tam_art_into_tests)
