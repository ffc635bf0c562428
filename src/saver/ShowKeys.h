// The keys a show with ShowKeys=1 takes for itself; every other key ends it.
#pragma once
#include <windows.h>

namespace saver {

enum class ShowKey { None, Forward, Back, Pause };

inline ShowKey ShowKeyOf(WPARAM key) {
  switch (key) {
    case VK_RIGHT:
    case VK_NEXT: return ShowKey::Forward;  // → and PageDown
    case VK_LEFT:
    case VK_PRIOR: return ShowKey::Back;  // ← and PageUp
    case VK_SPACE: return ShowKey::Pause;
    default: return ShowKey::None;
  }
}

}  // namespace saver
