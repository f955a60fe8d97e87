# The game's data files (sprites, effects, music and its tw-config.txt), copied
# beside the program
# at build time so that it finds "sprites/", "sounds/sfx/" and
# "sounds/background/" in its working folder. A changed file is copied again.

set(VELD_SPRITE_FILES
  ground-tile.txt
  runner.txt
  runner-duck.txt
  rock-spr.txt
  panther-spr.txt
  gamestart-spr.txt
  gameover-spr.txt
  vulture-spr.txt
  bullet-spr.txt
  tree-spr1.txt
  tree-spr2.txt
  sun-spr.txt
)
set(VELD_SFX_FILES
  jump.wav
  kill_enemy.wav
  player_fail.wav
  shoot.wav
)
set(VELD_MUSIC_FILES
  background_sound.wav
)

# veld_copy_data(<source folder> <destination folder> <file names...>) adds one
# copy rule per file and appends the copies to VELD_DATA_OUTPUTS.
function(veld_copy_data source_dir dest_dir)
  set(outputs ${VELD_DATA_OUTPUTS})
  foreach(name IN LISTS ARGN)
    add_custom_command(OUTPUT ${dest_dir}/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dest_dir}
      COMMAND ${CMAKE_COMMAND} -E copy ${source_dir}/${name} ${dest_dir}/${name}
      DEPENDS ${source_dir}/${name}
      COMMENT "Copying game data ${name}"
      VERBATIM)
    list(APPEND outputs ${dest_dir}/${name})
  endforeach()
  set(VELD_DATA_OUTPUTS ${outputs} PARENT_SCOPE)
endfunction()

set(VELD_DATA_OUTPUTS)
veld_copy_data(${CMAKE_CURRENT_LIST_DIR}/sprites ${TW_RUNTIME_DIR}/sprites ${VELD_SPRITE_FILES})
veld_copy_data(${CMAKE_CURRENT_LIST_DIR}/sounds/sfx ${TW_RUNTIME_DIR}/sounds/sfx ${VELD_SFX_FILES})
veld_copy_data(${CMAKE_CURRENT_LIST_DIR}/sounds/background ${TW_RUNTIME_DIR}/sounds/background
  ${VELD_MUSIC_FILES})
veld_copy_data(${CMAKE_CURRENT_LIST_DIR} ${TW_RUNTIME_DIR} tw-config.txt)
add_custom_target(veld_data ALL DEPENDS ${VELD_DATA_OUTPUTS})
