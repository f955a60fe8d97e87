# Tools built with the project.

# Synthesises the game's WAV files; run it as
#   tw_synth_sounds <repository>/game/sounds
# to regenerate the committed sounds (its output is deterministic).
if(TW_WEB)
  return()  # command-line tools: native only
endif()
if(TARNWICK_BUILD_GAME)
  add_executable(tw_synth_sounds tools/synth_sounds.cpp)
endif()

# tw-sprite checks sprite files with the engine's own reader and plays them;
# it is installed with the engine.
add_executable(tw_sprite tools/tw_sprite.cpp)
set_target_properties(tw_sprite PROPERTIES OUTPUT_NAME tw-sprite)
target_link_libraries(tw_sprite PRIVATE tarnwick_internal)
install(TARGETS tw_sprite RUNTIME DESTINATION bin)
