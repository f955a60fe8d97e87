# Platform sources: the terminal's modes, signals and input bytes (POSIX).
target_sources(tarnwick PRIVATE
  engine/platform/Terminal.cpp
  engine/platform/TerminalInput.cpp
)
