# Platform sources of the native build for art files and pictures: gzip
# through zlib, PNG through libpng, glyphs rendered with FreeType.
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
target_sources(tarnwick PRIVATE
  engine/platform/GlyphRaster.cpp
  engine/platform/Gzip.cpp
  engine/platform/PngFile.cpp
)
target_link_libraries(tarnwick PRIVATE ZLIB::ZLIB PNG::PNG)
