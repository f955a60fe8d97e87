# Platform sources: the SFML adapter (and the X11 check it makes before any
# call that would need a display). FreeType draws screenshots' glyphs.
find_package(X11 REQUIRED)
find_package(Freetype REQUIRED)
target_sources(tarnwick PRIVATE
  engine/platform/Audio.cpp
  engine/platform/Sfml.cpp
)
target_link_libraries(tarnwick PRIVATE X11::X11 Freetype::Freetype)
