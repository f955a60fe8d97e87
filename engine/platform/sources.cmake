# Sources of the engine library in engine/platform.
target_sources(tarnwick PRIVATE
  engine/platform/FileCheck.cpp
  engine/platform/FileWatcher.cpp
  engine/platform/Files.cpp
  engine/platform/FontCoverage.cpp
  engine/platform/LockedFile.cpp
  engine/platform/InputCodes.cpp
  engine/platform/LargeArray.cpp
  engine/platform/LibraryMessages.cpp
  engine/platform/RandomSequence.cpp
)
