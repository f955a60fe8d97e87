#include "engine/display/PresenterFactory.h"

#include "engine/display/CapturePresenter.h"
#include "engine/display/TerminalPresenter.h"
#include "engine/display/WindowPresenter.h"

namespace tw {

std::unique_ptr<Presenter> makePresenter(const std::string& display) {
  if (display == "window") return std::make_unique<WindowPresenter>();
  if (display == "terminal") return std::make_unique<TerminalPresenter>();
  if (display == "capture") return std::make_unique<CapturePresenter>();
  return nullptr;
}

}  // namespace tw
