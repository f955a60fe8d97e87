# Sources of the engine library in engine/resources.
target_sources(tarnwick PRIVATE
  engine/resources/Music.cpp
  engine/resources/ResourceManager.cpp
  engine/resources/Sound.cpp
  engine/resources/SpriteParser.cpp
  engine/resources/SpriteReloader.cpp
)
