# Sources of the engine library in engine/path.
target_sources(tarnwick PRIVATE
  engine/path/OpenHeap.cpp
  engine/path/PathFind.cpp
  engine/path/PathManager.cpp
  engine/path/NodeStateMap.cpp
  engine/path/CellMap.cpp
  engine/path/FieldOfView.cpp
  engine/path/CellSearch.cpp
  engine/path/CellPathFinder.cpp
  engine/path/DijkstraMap.cpp
  engine/path/MoverFootprint.cpp
  engine/path/BlockedCounts.cpp
  engine/path/CostQueues.cpp
)
