# Tools built with the project.

# Synthesises the game's WAV files; run it as
#   tw_synth_sounds <repository>/game/sounds
# to regenerate the committed sounds (its output is deterministic).
add_executable(tw_synth_sounds tools/synth_sounds.cpp)
