// The presenter that shows frames in the terminal the program runs in, through
// curses, and reads the keyboard and mouse from it. Curses stays behind this
// class; the terminal's modes and signals are engine/platform/Terminal's.
#pragma once

#include "engine/display/Presenter.h"

#include <memory>

namespace tw {

// How a frame lands on the terminal: every character in the nearest cell
// (column floor(x + 0.5), row floor(y + 0.5)); of two characters in one cell
// the later one drawn wins; a shape is drawn as CellGrid::SHAPE_CHARACTER in
// every cell whose centre it covers; rotation is ignored. Only cells that
// changed since the last frame are written (an unchanged frame writes
// nothing). The eight engine colours are the terminal's eight basic colours,
// in bold, on the configured background; any other colour is the nearest of
// the 256-colour cube where the terminal has one, else of the eight.
// Characters beyond ASCII are written as they are where the terminal's
// locale (LC_ALL, LC_CTYPE or LANG) is UTF-8 and gives them one column;
// elsewhere lines of the box-drawing block show as '-', '|' or '+', blocks
// and shades as '#', anything else as '?'.
//
// Keys. A terminal that speaks the kitty keyboard protocol (asked at open)
// reports real presses, repeats and releases. A classic terminal sends only
// characters, so here a key counts as pressed at its first character, held
// while its auto-repeat keeps sending it, and released (a KeyReleased event)
// once nothing more came for FIRST_HOLD_MS after the first character or
// REPEAT_HOLD_MS after a repeat. A character of a key still held that comes
// within REPEAT_GAP_MS of the one before is its auto-repeat (a KeyPressed
// marked repeat, or a new press when key repeat is on); after a longer gap
// it is a new tap: the key is released and pressed again. So quick taps
// count one press each, as in a window; but taps closer than REPEAT_GAP_MS
// (or read together after a stall) merge, and a held key's first auto-repeat,
// which follows the keyboard's delay, counts as a second press.
class TerminalPresenter : public Presenter {
 public:
  // Longer than the usual interval between auto-repeats (30 to 90 ms), shorter
  // than the gap between two quick taps of one key.
  static constexpr int REPEAT_GAP_MS = 100;
  // Longer than the usual delay before auto-repeat starts (250 to 660 ms).
  static constexpr int FIRST_HOLD_MS = 700;
  // Several times the usual interval between repeats (30 to 50 ms).
  static constexpr int REPEAT_HOLD_MS = 150;
  // How long a lone ESC waits for the rest of a sequence before it is the key.
  static constexpr int ESCAPE_WAIT_MS = 30;
  // How long open waits for the terminal to answer the feature queries.
  static constexpr int DETECT_WAIT_MS = 200;
  // How often a too-small terminal is checked again.
  static constexpr int RESIZE_POLL_MS = 50;

  // The terminal's input and output; both must be terminals for open.
  explicit TerminalPresenter(int input_fd = 0, int output_fd = 1);
  ~TerminalPresenter() override;
  TerminalPresenter(const TerminalPresenter&) = delete;
  TerminalPresenter& operator=(const TerminalPresenter&) = delete;

  const char* getName() const override;
  // Refuses (-1, logged) when input or output is not a terminal or TERM is
  // unset or unknown to the terminal database.
  int open(const PresenterSettings& settings) override;
  // Gives the terminal back as it was; safe to call twice.
  void close() override;
  // The configured pixel size (a 0 setting is taken as 1024 x 768): shapes are
  // measured in pixels, so their cells are found with it.
  int getHorizontalPixels() const override;
  int getVerticalPixels() const override;

  // Shows the frame. While the terminal is smaller than the configured grid it
  // shows one line saying so and waits, polling, until it is big enough or
  // the program is asked to close (then it returns at once).
  void present(const DrawList& frame) override;

  bool pollEvent(platform::InputEvent& event) override;
  bool isKeyDown(platform::Key key) const override;
  bool isButtonDown(platform::MouseButton button) const override;
  Vector getMousePosition() const override;
  void setKeyRepeat(bool enabled) override;

  // Whether the terminal answered to the kitty keyboard protocol at open.
  bool usesKittyKeyboard() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

}  // namespace tw
