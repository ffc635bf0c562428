// The monitors a show uses, as pure rectangles: which monitors the Monitors
// choice takes, in which order, and where each one's image area lies in the
// client of the window that shows it. Monitors may stand left of or above
// the primary one (negative coordinates) and differ in size.
#pragma once
#include <windows.h>

#include <vector>

namespace saver {

struct Monitor {
  RECT Bounds;   // screen coordinates; the primary's corner is (0, 0)
  bool Primary;
};

// The monitors the system reports, or the primary alone where it cannot tell
// (Windows 95 has no monitor functions).
std::vector<Monitor> SystemMonitors();

// The monitors the show covers for a Monitors value: the primary alone for
// 0, every monitor otherwise. The primary comes first, the rest left to
// right, then top to bottom. Empty rectangles are dropped, and a monitor that
// mirrors another (the same rectangle) counts once. With no primary among
// them, the one at the origin, else the first, stands in.
std::vector<Monitor> ShowMonitors(std::vector<Monitor> all, int monitorsMode);

// After a display change: the indexes into `shown` of the monitors still
// there (the same rectangle among `now`), in their order.
std::vector<int> RemainingMonitors(const std::vector<Monitor>& shown, const std::vector<Monitor>& now);

}  // namespace saver
