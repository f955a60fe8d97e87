// The presenter that shows frames on a browser page's canvas, with the
// window's cell geometry (glyphs of the shipped font fitted into their cell
// boxes, box drawing, blocks and shades filling them, backgrounds only where
// they hide something, shapes, rotation), and
// mirrors each frame as text on the page. Input comes from the page's
// keyboard and mouse. The page side is engine/platform/WebPage.
#pragma once

#include "engine/display/CellGrid.h"
#include "engine/display/InputState.h"
#include "engine/display/PageFrame.h"
#include "engine/display/Presenter.h"

namespace tw {

class WebPresenter : public Presenter {
 public:
  const char* getName() const override;
  // Opens the page's canvas; -1 when the page has none.
  int open(const PresenterSettings& settings) override;
  void close() override;
  // The configured window size: the game's geometry is the window's, and the
  // canvas scales it to the page.
  int getHorizontalPixels() const override;
  int getVerticalPixels() const override;
  void present(const DrawList& frame) override;

  bool pollEvent(platform::InputEvent& event) override;
  bool isKeyDown(platform::Key key) const override;
  bool isButtonDown(platform::MouseButton button) const override;
  Vector getMousePosition() const override;
  void setKeyRepeat(bool enabled) override;

  // Background boxes the last frame drew (the rest were skipped).
  int getBackgroundsDrawn() const;

 private:
  bool opened = false;
  int pixels_x = 0;
  int pixels_y = 0;
  PageFrame page_frame;  // the frame's drawing, laid out as engine/platform/PageLayout.h says
  CellGrid grid;  // the frame as cells, for the page's text mirror
  InputState input;  // what the page's events so far left down
};

}  // namespace tw
