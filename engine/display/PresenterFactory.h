// Makes the presenter a display setting names. Which presenters exist
// depends on the build: natively the window, the terminal and the capture;
// in a browser page the page's canvas (for "window") and the capture.
#pragma once

#include <memory>
#include <string>

#include "engine/display/Presenter.h"

namespace tw {

// The presenter for display ("window", "terminal", "capture", or "auto" for
// the one autoDisplay picks here); null when this build has none of that name.
std::unique_ptr<Presenter> makePresenter(const std::string& display);

// What display:auto stands for: "window" where a display can be opened,
// else "terminal" when standard input and output are a terminal, else
// "capture".
const char* autoDisplay(bool display_available, bool standard_terminal);

}  // namespace tw
