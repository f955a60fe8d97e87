// The game's resource table: every sprite, sound and music Veld loads at start.
#pragma once

namespace veld {

// Loads the twelve sprites, four sound effects and the music. Failures are
// logged by the resource manager and otherwise ignored.
void loadResources();

// Plays the sound with this label once, when it was loaded.
void playSound(const char* label);

}  // namespace veld
