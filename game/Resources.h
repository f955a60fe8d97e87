// The game's resource table (every sprite, sound and music Veld loads at
// start) and the small helpers every screen uses to play and show things.
#pragma once

#include <string>

#include "engine/core/Color.h"

namespace veld {

// Loads the twelve sprites, four sound effects and the music. Failures are
// logged by the resource manager and otherwise ignored.
void loadResources();

// Plays the sound with this label once, when it was loaded and sound is on.
void playSound(const char* label);

// Draws text centred on a row of the screen (view rows, whatever the view).
void drawCentred(int row, const std::string& text, tw::Color color);

}  // namespace veld
