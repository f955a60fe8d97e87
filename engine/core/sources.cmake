# Sources of the engine library in engine/core.
target_sources(tarnwick PRIVATE
  engine/core/BlockPool.cpp
  engine/core/Clock.cpp
  engine/core/Color.cpp
  engine/core/Config.cpp
  engine/core/Event.cpp
  engine/core/EventStep.cpp
  engine/core/FramePacer.cpp
  engine/core/EventRouting.cpp
  engine/core/ListenerList.cpp
  engine/core/LiveObjects.cpp
  engine/core/LogManager.cpp
  engine/core/LoopState.cpp
  engine/core/Manager.cpp
  engine/core/ObjectList.cpp
  engine/core/ObjectListIterator.cpp
  engine/core/Random.cpp
  engine/core/RecordIO.cpp
  engine/core/RepeatedLog.cpp
  engine/core/Unicode.cpp
  engine/core/Utility.cpp
  engine/core/Version.cpp
  engine/core/RandomGenerator.cpp
  engine/core/BspTree.cpp
  engine/core/Noise2D.cpp
  engine/core/ColorBlend.cpp
)
