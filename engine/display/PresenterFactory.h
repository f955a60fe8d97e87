// Makes the presenter a display setting names. Which presenters exist
// depends on the build: natively the window, the terminal and the capture;
// in a browser page the page's canvas (for "window") and the capture.
#pragma once

#include <memory>
#include <string>

#include "engine/display/Presenter.h"

namespace tw {

// The presenter for display ("window", "terminal", "capture"); null when
// this build has none of that name.
std::unique_ptr<Presenter> makePresenter(const std::string& display);

}  // namespace tw
