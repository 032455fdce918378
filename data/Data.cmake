# Game data: every file under game/Data is made at build time by our own asset tool from the
# sources in data/. Each data/cmake/*.cmake adds its rules with tam_data_output().
set(TAM_DATA_DIR ${CMAKE_BINARY_DIR}/game/Data)
set_property(GLOBAL PROPERTY TAM_DATA_OUTPUTS "")

# Registers files made by a custom command as part of the game data.
function(tam_data_output)
  set_property(GLOBAL APPEND PROPERTY TAM_DATA_OUTPUTS ${ARGN})
endfunction()

file(GLOB TAM_DATA_RULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/cmake/*.cmake)
foreach(rule ${TAM_DATA_RULES})
  include(${rule})
endforeach()

get_property(TAM_ALL_DATA GLOBAL PROPERTY TAM_DATA_OUTPUTS)
add_custom_target(gamedata ALL DEPENDS ${TAM_ALL_DATA})
