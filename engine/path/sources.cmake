# Sources of the engine library in engine/path.
target_sources(tarnwick PRIVATE
  engine/path/OpenHeap.cpp
  engine/path/PathFind.cpp
  engine/path/PathManager.cpp
  engine/path/NodeStateMap.cpp
)
