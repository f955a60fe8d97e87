// The fit table the page's painter draws glyphs by, laid out as
// engine/platform/PageLayout.h's FitTableField says: computed from the font
// file's own glyph boxes, so that the wasm program and a native program
// sending frames to a page both hand the painter the same numbers.
#pragma once

#include <string>
#include <vector>

#include "engine/platform/FontCoverage.h"
#include "engine/platform/PageLayout.h"

namespace tw {

// Opens font from font_file, logging why when it cannot (the font is then
// taken as unread); false then.
bool openPageFont(platform::FontCoverage& font, const std::string& font_file);

// The canvas font's size in pixels for cells of cell_w x cell_h window pixels.
int pageCharacterSize(float cell_w, float cell_h, float font_scale);

// The fit table for font (unread: a typical monospace font's proportions)
// in geometry's cells.
std::vector<float> pageFits(const platform::FontCoverage& font,
                            const platform::page::CanvasGeometry& geometry);

// The same for the font file font_file (opened with openPageFont).
std::vector<float> pageFits(const std::string& font_file,
                            const platform::page::CanvasGeometry& geometry);

}  // namespace tw
