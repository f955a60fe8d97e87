# Sources of the engine library in engine/loop: the game manager, which starts
# every other manager and runs the loop, and the pause object. They sit above
# every other layer of the engine.
target_sources(tarnwick PRIVATE
  engine/loop/CommandLine.cpp
  engine/loop/GameManager.cpp
  engine/loop/DebugOverlay.cpp
  engine/loop/ConfigReload.cpp
  engine/loop/HotReload.cpp
  engine/loop/Pause.cpp
  engine/loop/Spectating.cpp
)
