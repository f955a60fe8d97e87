#include "engine/display/PresenterFactory.h"

#include "engine/display/CapturePresenter.h"
#include "engine/display/WebPresenter.h"

namespace tw {

// A page has no terminal; its canvas takes the window's place.
std::unique_ptr<Presenter> makePresenter(const std::string& display) {
  if (display == "window") return std::make_unique<WebPresenter>();
  if (display == "capture") return std::make_unique<CapturePresenter>();
  return nullptr;
}

}  // namespace tw
