# The game Veld: its classes, the program entry and the data laid out beside it.
add_executable(veld
  game/main.cpp
)
target_link_libraries(veld PRIVATE tarnwick)
add_dependencies(veld tw_font)
