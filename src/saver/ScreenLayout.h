// Where the saver window stands when it covers every monitor: the virtual
// screen (the bounding rectangle of all monitors, whose origin may be
// negative) and the primary monitor inside it, where the title and the
// pictures are placed.
#pragma once
#include <windows.h>

namespace saver {

struct ScreenLayout {
  RECT Virtual;  // screen coordinates
  RECT Primary;  // screen coordinates; its top-left corner is (0, 0)
};

// The system's layout. Systems without the virtual-screen metrics (they
// answer 0) have one monitor: the virtual screen is then the primary one.
ScreenLayout CurrentScreenLayout();

// The primary monitor in the client coordinates of a window that covers
// the virtual screen.
RECT PrimaryInClient(const ScreenLayout& layout);

}  // namespace saver
