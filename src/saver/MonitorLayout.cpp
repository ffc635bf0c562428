#include "saver/MonitorLayout.h"

#include <algorithm>

#include "settings/Keys.h"

namespace saver {

namespace {
bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

using EnumMonitorsFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
using MonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

struct Collected {
  MonitorInfoFn info;
  std::vector<Monitor> monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM lp) {
  auto* c = reinterpret_cast<Collected*>(lp);
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  if (c->info(handle, &mi)) c->monitors.push_back({mi.rcMonitor, (mi.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

// The one the show treats as primary: the flagged one, else the one at the origin, else the first.
size_t PrimaryIndex(const std::vector<Monitor>& m) {
  for (size_t i = 0; i < m.size(); ++i)
    if (m[i].Primary) return i;
  for (size_t i = 0; i < m.size(); ++i)
    if (m[i].Bounds.left == 0 && m[i].Bounds.top == 0) return i;
  return 0;
}
}  // namespace

std::vector<Monitor> SystemMonitors() {
  // Looked up at run time: Windows 95 lacks them, and the program must still start there.
  HMODULE user32 = GetModuleHandleA("user32.dll");
  auto enumerate = user32 ? reinterpret_cast<EnumMonitorsFn>(
                                reinterpret_cast<void*>(GetProcAddress(user32, "EnumDisplayMonitors")))
                          : nullptr;
  auto info = user32 ? reinterpret_cast<MonitorInfoFn>(
                           reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")))
                     : nullptr;
  Collected c{info, {}};
  if (enumerate && info) enumerate(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&c));
  if (c.monitors.empty())
    c.monitors.push_back({{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, true});
  return c.monitors;
}

std::vector<Monitor> ShowMonitors(std::vector<Monitor> all, int monitorsMode) {
  all.erase(std::remove_if(all.begin(), all.end(), [](const Monitor& m) { return IsRectEmpty(&m.Bounds); }),
            all.end());
  if (all.empty()) return all;
  const size_t primary = PrimaryIndex(all);
  for (size_t i = 0; i < all.size(); ++i) all[i].Primary = i == primary;
  std::stable_sort(all.begin(), all.end(), [](const Monitor& a, const Monitor& b) {
    if (a.Primary != b.Primary) return a.Primary;
    if (a.Bounds.left != b.Bounds.left) return a.Bounds.left < b.Bounds.left;
    return a.Bounds.top < b.Bounds.top;
  });
  if (monitorsMode == settings::kPrimaryOnly) all.resize(1);
  // A mirrored display reports the same rectangle twice: one show there.
  std::vector<Monitor> distinct;
  for (const Monitor& m : all)
    if (std::none_of(distinct.begin(), distinct.end(), [&](const Monitor& d) { return SameRect(d.Bounds, m.Bounds); }))
      distinct.push_back(m);
  return distinct;
}

std::vector<int> RemainingMonitors(const std::vector<Monitor>& shown, const std::vector<Monitor>& now) {
  std::vector<int> remaining;
  for (size_t i = 0; i < shown.size(); ++i)
    if (std::any_of(now.begin(), now.end(), [&](const Monitor& m) { return SameRect(m.Bounds, shown[i].Bounds); }))
      remaining.push_back(static_cast<int>(i));
  return remaining;
}

}  // namespace saver
