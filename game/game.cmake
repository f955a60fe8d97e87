# The game Veld: its classes (a library the tests share), the program entry
# and the data laid out beside it.
add_library(veld_game ${tw_inside_type}
  game/Boulder.cpp
  game/Bullet.cpp
  game/Controls.cpp
  game/Enemy.cpp
  game/GameOver.cpp
  game/GameStart.cpp
  game/GroundTile.cpp
  game/Hazard.cpp
  game/Panther.cpp
  game/Points.cpp
  game/Profile.cpp
  game/Resources.cpp
  game/Reticle.cpp
  game/Runner.cpp
  game/SaveFile.cpp
  game/ScoreLink.cpp
  game/Spawning.cpp
  game/Sun.cpp
  game/Tree.cpp
  game/Vulture.cpp
)
target_link_libraries(veld_game PUBLIC tarnwick)

add_executable(veld game/main.cpp)
target_link_libraries(veld PRIVATE veld_game)
add_dependencies(veld tw_font)

include(game/data.cmake)
add_dependencies(veld veld_data)

# In the browser build Veld is the site's front page, its data preloaded.
tarnwick_web_page(veld PAGE index DATA sprites sounds tw-config.txt)
