# The three animated models and their skins, made by the asset tool from its own model builders.
set(TAM_MODEL_FILES
  ${TAM_DATA_DIR}/Models/Ogros/Ogros.md2
  ${TAM_DATA_DIR}/Models/Ogros/igdosh.pcx
  ${TAM_DATA_DIR}/Models/Ogros/Weapon.md2
  ${TAM_DATA_DIR}/Models/Ogros/Weapon.pcx
  ${TAM_DATA_DIR}/Models/Spawn/Spawn.md2
  ${TAM_DATA_DIR}/Models/Spawn/Spawn.tga)
add_custom_command(
  OUTPUT ${TAM_MODEL_FILES}
  COMMAND tamasset models ${TAM_DATA_DIR}
  DEPENDS tamasset
  COMMENT "Making the models"
  VERBATIM)
tam_data_output(${TAM_MODEL_FILES})
