// The debug overlay: what the running engine is doing, drawn over everything
// the game draws (it is no object of the world). Steps per second and step
// times, the time of each phase of a step, object and listener counts, every
// object's box with its type, the paths being followed, and the latest
// problems. A new problem also shows for a few seconds at the screen's edge
// in a window or page while the overlay is hidden. The game manager feeds it
// the step times and has it draw last in every step.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/core/Clock.h"
#include "engine/core/Color.h"

namespace tw {

class DebugOverlay {
 public:
  // The phases of a step, in the order their times are shown.
  enum Phase { UPDATE, COLLISIONS, DRAWING, PATHS, PRESENTING, PHASE_COUNT };
  // How long a new problem shows at the screen's edge.
  static const int NOTICE_MILLISECONDS = 4000;
  // Problems listed at the bottom of the overlay.
  static const int PROBLEMS_SHOWN = 3;

  static DebugOverlay& getInstance();

  // Takes the settings (shown from the start, the toggle key, frozen times)
  // and reserves the toggle key; the input manager must be started.
  void startUp();
  void shutDown();
  void setShown(bool shown);
  bool isShown() const;
  void toggle();
  // Time figures shown as "--" (set by debug_freeze_times and under the
  // capture presenter), so captured frames do not depend on the machine.
  void setFrozenTimes(bool frozen);

  // One finished step: its phase times and its whole working time
  // (microseconds; the sleep that paces the loop is not counted).
  void recordStep(const int* phase_us, int step_us);
  // Draws over this frame: the overlay when shown, else a new problem's
  // notice while it lasts.
  void draw();

  // The text lines at the top of the overlay, as drawn.
  std::vector<std::string> statusLines() const;
  // The problem lines at the bottom, as drawn (latest last).
  std::vector<std::string> problemLines() const;
  // The edge notice drawn this step ("" for none).
  std::string noticeLine() const;

 private:
  DebugOverlay();
  DebugOverlay(const DebugOverlay&) = delete;
  void operator=(const DebugOverlay&) = delete;

  struct StepRecord {
    long long end_us;  // on the overlay's own time line
    int step_us;
    int phase_us[PHASE_COUNT];
  };
  std::string timeLine() const;
  std::string phaseLine() const;
  std::string countLine() const;
  std::string listenerLine() const;
  void updateNotice();
  void drawText(int row, const std::string& text, Color color) const;
  void drawBoxes() const;
  void drawPaths() const;
  void drawFollowSlack() const;
  bool timesFrozen() const;

  bool shown;
  bool frozen_times;
  std::string key_name;             // "F12", or "none"
  std::deque<StepRecord> last_second;
  Clock wall;                       // read once per step
  long long now_us;                 // wall time since start-up, microseconds
  std::size_t problems_seen;        // problems noticed so far
  std::string notice;               // the latest new problem, while it shows
  long long notice_until_us;
};

}  // namespace tw
