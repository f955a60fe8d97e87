// The presenter with no output: frames are only kept (read them through the
// display manager's snapshot), and input is what a test or a script queues.
// Games run under it on servers and in tests, where nobody looks.
#pragma once

#include "engine/display/InputState.h"
#include "engine/display/Presenter.h"

#include <deque>

namespace tw {

class CapturePresenter : public Presenter {
 public:
  const char* getName() const override;
  int open(const PresenterSettings& settings) override;
  void close() override;
  int getHorizontalPixels() const override;
  int getVerticalPixels() const override;
  void present(const DrawList& frame) override;

  // Queues an event as if the user had made it (positions in cells); key and
  // button state follow the queued presses and releases as they are polled.
  void pushEvent(const platform::InputEvent& event);
  bool pollEvent(platform::InputEvent& event) override;
  bool isKeyDown(platform::Key key) const override;
  bool isButtonDown(platform::MouseButton button) const override;
  Vector getMousePosition() const override;
  bool isInteractive() const override;

  // Frames presented since open.
  long getFrameCount() const;

 private:
  PresenterSettings settings;
  std::deque<platform::InputEvent> pending;
  InputState input;  // what the events polled so far left down
  long frames = 0;
};

}  // namespace tw
