// Plays the cross-presenter input script (InputProbe.h) into a running probe
// through a presenter's own driver: a window's, a terminal's.
#pragma once

#include <functional>
#include <string>

#include "tests/support/InputProbe.h"

namespace tw_test {

// Plays the script through a presenter's driver: tap(key) for every tap,
// hold(key) for a held key (which holds and releases it), with the pauses
// between them. Each tap waits until the probe has logged it in probe_log,
// so that on a busy machine two taps never reach the probe together (in one
// frame they would be one press).
void playScript(const std::function<void(tw::Keyboard::Key)>& tap,
                const std::function<void(tw::Keyboard::Key)>& hold, const std::string& probe_log);

}  // namespace tw_test
