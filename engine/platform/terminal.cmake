# Platform sources: the terminal's modes, signals, input bytes and character
# locale (POSIX).
target_sources(tarnwick PRIVATE
  engine/platform/CharacterLocale.cpp
  engine/platform/StandardErrorCapture.cpp
  engine/platform/Terminal.cpp
  engine/platform/TerminalInput.cpp
)
