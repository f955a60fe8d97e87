# Resource sources of the native build: art files of the REXPaint editor.
target_sources(tarnwick PRIVATE
  engine/resources/XpFile.cpp
)
