// The presenter that shows frames on a browser page's canvas, with the
// window's cell geometry (glyphs of the shipped font fitted into their cell
// boxes, box drawing, blocks and shades filling them, backgrounds only where
// they hide something, shapes, rotation), and
// mirrors each frame as text on the page. Input comes from the page's
// keyboard and mouse. The page side is engine/platform/WebPage.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/display/CellCoverage.h"
#include "engine/display/CellGrid.h"
#include "engine/display/InputState.h"
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
  void addCharacter(const DrawItem& item);
  void addShape(const DrawItem& item);
  // numbers more entries at the list's end, to be filled in.
  float* addItem(std::size_t numbers);

  bool opened = false;
  int pixels_x = 0;
  int pixels_y = 0;
  float cell_w = 0.0f;
  float cell_h = 0.0f;
  CellCoverage coverage;
  std::vector<float> corners;  // the shape being drawn, x0, y0, x1, y1 ...
  CellGrid grid;  // the frame as cells, for the page's text mirror
  std::vector<float> list;  // the frame's drawing, laid out as engine/platform/PageLayout.h says
  int backgrounds_drawn = 0;
  InputState input;  // what the page's events so far left down
};

}  // namespace tw
