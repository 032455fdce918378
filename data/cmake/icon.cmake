# The program's icon, made by our asset tool: a 64-pixel picture the game shows on its windows,
# and the desktop's PNG sizes (installed into the hicolor icon theme).
set(TAM_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(TAM_ICON_SIZES 48 128 256)

add_custom_command(OUTPUT ${TAM_DATA_DIR}/Icon/tamberlo.tga
  COMMAND tamasset icon 64 ${TAM_DATA_DIR}/Icon/tamberlo.tga
  DEPENDS tamasset
  COMMENT "Making the window icon")
tam_data_output(${TAM_DATA_DIR}/Icon/tamberlo.tga)

foreach(size ${TAM_ICON_SIZES})
  set(png ${TAM_ICON_DIR}/${size}x${size}/apps/tamberlo.png)
  add_custom_command(OUTPUT ${png}
    COMMAND tamasset icon ${size} ${png}
    DEPENDS tamasset
    COMMENT "Making the ${size}-pixel desktop icon")
  tam_data_output(${png})
endforeach()
