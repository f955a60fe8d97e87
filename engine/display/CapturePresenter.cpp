#include "engine/display/CapturePresenter.h"

namespace tw {

const char* CapturePresenter::getName() const { return "capture"; }

int CapturePresenter::open(const PresenterSettings& new_settings) {
  settings = new_settings;
  pending.clear();
  input = InputState();
  frames = 0;
  return 0;
}

void CapturePresenter::close() { pending.clear(); }

int CapturePresenter::getHorizontalPixels() const { return settings.horizontal_pixels; }

int CapturePresenter::getVerticalPixels() const { return settings.vertical_pixels; }

void CapturePresenter::present(const DrawList&) { frames++; }

void CapturePresenter::pushEvent(const platform::InputEvent& event) { pending.push_back(event); }

bool CapturePresenter::pollEvent(platform::InputEvent& event) {
  if (pending.empty()) return false;
  event = pending.front();
  pending.pop_front();
  input.track(event);
  return true;
}

bool CapturePresenter::isKeyDown(platform::Key key) const { return input.isKeyDown(key); }

bool CapturePresenter::isButtonDown(platform::MouseButton button) const {
  return input.isButtonDown(button);
}

Vector CapturePresenter::getMousePosition() const { return input.getMousePosition(); }

bool CapturePresenter::isInteractive() const { return false; }

long CapturePresenter::getFrameCount() const { return frames; }

}  // namespace tw
