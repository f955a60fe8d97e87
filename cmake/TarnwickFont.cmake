# tarnwick_copy_font(<target>): copies the engine's font beside the target's
# program after each build, so the program finds it wherever it is started
# from. The font's file is the global property TARNWICK_FONT_FILE.
function(tarnwick_copy_font target)
  get_property(font GLOBAL PROPERTY TARNWICK_FONT_FILE)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${font} $<TARGET_FILE_DIR:${target}>/tw-font.ttf
    VERBATIM)
endfunction()
