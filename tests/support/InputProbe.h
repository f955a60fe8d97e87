// The cross-presenter input script and the small game that answers it: the
// same taps, held key and release go through each presenter, and the probe
// says what the game saw (keystrokes, polled presses and releases, how far a
// tap-driven '@' moved), so the presenters' reports can be compared as text.
#pragma once

#include <string>

#include "engine/input/EventKeystroke.h"
#include "engine/world/Object.h"

namespace tw_test {

// One line of the script: a key tapped `taps` times (down and up, apart by
// more than an auto-repeat interval), or held long enough to auto-repeat and
// then released.
struct ScriptLine {
  enum Kind { TAP, HOLD } kind;
  tw::Keyboard::Key key;
  int taps;
};
const ScriptLine INPUT_SCRIPT[] = {
    {ScriptLine::TAP, tw::Keyboard::LEFT_ARROW, 3},
    {ScriptLine::HOLD, tw::Keyboard::DOWN_ARROW, 0},
};
// What the probe must report after the script and a Q, in every presenter.
const char* const EXPECTED_REPORT =
    "LEFT_ARROW strokes 3 repeats no pressed 3 released 3 down-at-end no\n"
    "DOWN_ARROW strokes 1 repeats yes pressed 1 released 1 down-at-end no\n"
    "moved -3\n";
// What the probe logs for each first keystroke of a script key, so that a
// driver can wait until a tap was seen before it sends the next.
const char* const STROKE_LINE = "InputProbe: stroke";
// Milliseconds between two taps and how long a key is held.
const int TAP_GAP_MS = 400;
const int HOLD_MS = 1500;

// Counts, per key of the script, keystrokes from events and presses and
// releases from polling the input manager once per frame; each first
// keystroke of LEFT_ARROW moves it one cell left. Q ends the game.
class InputProbe : public tw::Object {
 public:
  // With on_steps the probe polls at every step event; else call sample()
  // after each frame's input.
  explicit InputProbe(bool on_steps);
  int eventHandler(const tw::Event* p_e) override;
  void sample();
  std::string report() const;

 private:
  struct Tally {
    int strokes = 0;
    int repeats = 0;
    int pressed = 0;
    int released = 0;
    bool down = false;  // at the last sample
  };
  Tally tallies[2];  // one per line of INPUT_SCRIPT
  int moved = 0;
};

}  // namespace tw_test
