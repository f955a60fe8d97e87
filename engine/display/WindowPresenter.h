// The presenter that shows frames in a desktop window through the window
// library: each frame in one batched draw, every glyph fitted into its cell
// (box drawing, blocks and shades filling it, so they join their
// neighbours), a character the font lacks drawn as the font's U+FFFD. The
// library's types stay inside WindowPresenter.cpp.
#pragma once

#include "engine/display/Presenter.h"

#include <memory>

namespace tw {

class WindowPresenter : public Presenter {
 public:
  WindowPresenter();
  ~WindowPresenter() override;

  // Whether a window could be opened here (a desktop display answers).
  static bool displayAvailable();

  const char* getName() const override;
  // Opens the window and the font; the log says what failed.
  int open(const PresenterSettings& settings) override;
  void close() override;
  int getHorizontalPixels() const override;
  int getVerticalPixels() const override;

  // Clears to the background colour, draws the frame's items in order and
  // shows the result. A character paints its cell's background first, so it
  // hides what was drawn there before it; where nothing was drawn before,
  // that background equals the cleared window and is skipped.
  void present(const DrawList& frame) override;

  bool pollEvent(platform::InputEvent& event) override;
  bool isKeyDown(platform::Key key) const override;
  bool isButtonDown(platform::MouseButton button) const override;
  Vector getMousePosition() const override;
  void setKeyRepeat(bool enabled) override;
  void setBackground(Rgb color) override;

  // Background rectangles drawn by the last present (the rest were skipped).
  int getBackgroundsDrawn() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

}  // namespace tw
