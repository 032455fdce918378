# Sounds: the shot, the start-up music file and the demo MP3, made by the asset tool; plus two
# tone MP3s the playback tests listen for (outside game/Data, under testdata/media).
target_link_libraries(tamasset PRIVATE mp3lame)

set(TAM_SOUND_DIR ${TAM_DATA_DIR}/Sound)
set(TAM_MEDIA_TEST_DIR ${CMAKE_BINARY_DIR}/testdata/media)

add_custom_command(OUTPUT ${TAM_SOUND_DIR}/mp40f1.wav
  COMMAND tamasset sound_shot ${TAM_SOUND_DIR}/mp40f1.wav
  DEPENDS tamasset VERBATIM)
add_custom_command(OUTPUT ${TAM_SOUND_DIR}/Ext.mid
  COMMAND tamasset sound_tune ${TAM_SOUND_DIR}/Ext.mid
  DEPENDS tamasset VERBATIM)
add_custom_command(OUTPUT ${TAM_SOUND_DIR}/demo.mp3
  COMMAND tamasset sound_demo ${TAM_SOUND_DIR}/demo.mp3
  DEPENDS tamasset VERBATIM)
foreach(hz 440 660)
  add_custom_command(OUTPUT ${TAM_MEDIA_TEST_DIR}/tone${hz}.mp3
    COMMAND tamasset sound_tone ${hz} 1.5 ${TAM_MEDIA_TEST_DIR}/tone${hz}.mp3
    DEPENDS tamasset VERBATIM)
  tam_data_output(${TAM_MEDIA_TEST_DIR}/tone${hz}.mp3)
endforeach()

tam_data_output(${TAM_SOUND_DIR}/mp40f1.wav ${TAM_SOUND_DIR}/Ext.mid ${TAM_SOUND_DIR}/demo.mp3)
