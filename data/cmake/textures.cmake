# Pictures of the game: the eight world textures, the five sky faces and the HUD font, all made
# by our asset tool from procedural code and the machine's DejaVu Sans Mono faces.
set(TAM_FONT_REGULAR /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
    CACHE FILEPATH "TrueType face for the HUD font's regular set")
set(TAM_FONT_BOLD /usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf
    CACHE FILEPATH "TrueType face for the HUD font's bold set")
foreach(face ${TAM_FONT_REGULAR} ${TAM_FONT_BOLD})
  if(NOT EXISTS ${face})
    message(FATAL_ERROR "Font face ${face} not found (Debian package fonts-dejavu-core); "
                        "set TAM_FONT_REGULAR and TAM_FONT_BOLD to other monospaced faces.")
  endif()
endforeach()

set(TAM_ART_SOURCES
  ${CMAKE_SOURCE_DIR}/tools/asset/art_noise.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/art_textures.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/art_sky.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/art_font.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset/art_hud_preview.cpp)

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
  COMMAND tamasset font ${TAM_DATA_DIR}/Font/Font.tga ${TAM_FONT_REGULAR} ${TAM_FONT_BOLD}
  DEPENDS tamasset ${TAM_FONT_REGULAR} ${TAM_FONT_BOLD}
  COMMENT "Making the HUD font")

tam_data_output(${TAM_WORLD_TEXTURES} ${TAM_SKY_FACES} ${TAM_DATA_DIR}/Font/Font.tga)

# The unit tests check the generators themselves: they are built into the test program once
# the tests folder has made it.
function(tam_art_into_tests)
  if(TARGET tamtests)
    target_sources(tamtests PRIVATE ${TAM_ART_SOURCES} ${CMAKE_SOURCE_DIR}/tools/asset/image_write.cpp
      ${CMAKE_SOURCE_DIR}/tools/asset/tool_files.cpp)
    target_include_directories(tamtests PRIVATE ${CMAKE_SOURCE_DIR}/tools/asset)
    target_compile_definitions(tamtests PRIVATE
      TAM_FONT_REGULAR="${TAM_FONT_REGULAR}" TAM_FONT_BOLD="${TAM_FONT_BOLD}")
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tam_art_into_tests)
