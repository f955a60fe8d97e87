#include "engine/display/PresenterFactory.h"

#include "engine/display/CapturePresenter.h"
#include "engine/display/TerminalPresenter.h"
#include "engine/display/WindowPresenter.h"
#include "engine/platform/Terminal.h"

namespace tw {

const char* autoDisplay(bool display_available, bool standard_terminal) {
  if (display_available) return "window";
  return standard_terminal ? "terminal" : "capture";
}

std::unique_ptr<Presenter> makePresenter(const std::string& display) {
  if (display == "auto") {
    const bool terminal = platform::Terminal::isTerminal(0) && platform::Terminal::isTerminal(1);
    return makePresenter(autoDisplay(WindowPresenter::displayAvailable(), terminal));
  }
  if (display == "window") return std::make_unique<WindowPresenter>();
  if (display == "terminal") return std::make_unique<TerminalPresenter>();
  if (display == "capture") return std::make_unique<CapturePresenter>();
  return nullptr;
}

}  // namespace tw
