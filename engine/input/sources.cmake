# Sources of the engine library in engine/input.
target_sources(tarnwick PRIVATE
  engine/input/EventKeyboard.cpp
  engine/input/EventKeystroke.cpp
  engine/input/EventMouse.cpp
  engine/input/InputManager.cpp
  engine/input/InputPolling.cpp
  engine/input/InputRecording.cpp
  engine/input/RecordingBytes.cpp
  engine/input/RecordingVersion1.cpp
  engine/input/RecordingWriter.cpp
)
