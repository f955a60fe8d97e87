#include "engine/display/CapturePresenter.h"

namespace tw {

const char* CapturePresenter::getName() const { return "capture"; }

int CapturePresenter::open(const PresenterSettings& new_settings) {
  settings = new_settings;
  pending.clear();
  keys_down.fill(false);
  buttons_down.fill(false);
  mouse = Vector();
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
  track(event);
  return true;
}

void CapturePresenter::track(const platform::InputEvent& event) {
  using Type = platform::InputEvent::Type;
  const int key = static_cast<int>(event.key);
  const int button = static_cast<int>(event.button);
  switch (event.type) {
    case Type::KeyPressed:
    case Type::KeyReleased:
      if (key >= 0 && key < platform::KEY_COUNT) {
        keys_down[static_cast<std::size_t>(key)] = event.type == Type::KeyPressed;
      }
      break;
    case Type::MouseButtonPressed:
    case Type::MouseButtonReleased:
      if (button >= 0 && button < static_cast<int>(buttons_down.size())) {
        buttons_down[static_cast<std::size_t>(button)] = event.type == Type::MouseButtonPressed;
      }
      mouse = Vector(event.x, event.y);
      break;
    case Type::MouseMoved:
      mouse = Vector(event.x, event.y);
      break;
    default:
      break;
  }
}

bool CapturePresenter::isKeyDown(platform::Key key) const {
  const int code = static_cast<int>(key);
  return code >= 0 && code < platform::KEY_COUNT && keys_down[static_cast<std::size_t>(code)];
}

bool CapturePresenter::isButtonDown(platform::MouseButton button) const {
  const int code = static_cast<int>(button);
  return code >= 0 && code < static_cast<int>(buttons_down.size()) &&
         buttons_down[static_cast<std::size_t>(code)];
}

Vector CapturePresenter::getMousePosition() const { return mouse; }

bool CapturePresenter::isInteractive() const { return false; }

long CapturePresenter::getFrameCount() const { return frames; }

}  // namespace tw
