#include "engine/display/PresenterFactory.h"

#include "engine/display/CapturePresenter.h"
#include "engine/display/WebPresenter.h"

namespace tw {

// A page has no terminal; its canvas takes the window's place.
std::unique_ptr<Presenter> makePresenter(const std::string& display) {
  if (display == "window" || display == "auto") return std::make_unique<WebPresenter>();
  if (display == "capture") return std::make_unique<CapturePresenter>();
  return nullptr;
}

const char* autoDisplay(bool display_available, bool standard_terminal) {
  (void)display_available;
  (void)standard_terminal;
  return "window";
}

}  // namespace tw
