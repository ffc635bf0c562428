#include "saver/MirrorHost.h"

namespace saver {

namespace {
// Where a mirror's picture goes: at the same share of its free room as the
// lead's picture has of the lead's (centred stays centred).
int MirrorOffset(int offset, int room, int mirrorRoom) {
  if (room <= 0) return mirrorRoom / 2;
  return static_cast<int>(static_cast<long long>(offset) * mirrorRoom / room);
}
}  // namespace

void MirrorHost::Add(std::unique_ptr<MonitorWindow> mirror) { mirrors_.push_back({std::move(mirror)}); }

std::vector<const MonitorWindow*> MirrorHost::Windows() const {
  std::vector<const MonitorWindow*> windows;
  for (const Mirror& m : mirrors_) windows.push_back(m.window.get());
  return windows;
}

void MirrorHost::StartImageLoad(const std::string& name) {
  lead_.StartImageLoad(name);
  for (Mirror& m : mirrors_) {
    // A mirror still loading its background sits this picture out.
    m.load = m.window->BackgroundPending() ? ImageLoad::Failed : ImageLoad::Running;
    if (m.load == ImageLoad::Running) m.window->StartImageLoad(name);
  }
}

// The mirrors' pictures are taken as each finishes and kept until the
// lead's is ready.
ImageLoad MirrorHost::TakeImageLoad() {
  bool running = false;
  for (Mirror& m : mirrors_) {
    if (m.load == ImageLoad::Running) m.load = m.window->TakeImageLoad();
    running = running || m.load == ImageLoad::Running;
  }
  return running ? ImageLoad::Running : lead_.TakeImageLoad();
}

void MirrorHost::ApplyImagePalette() {
  lead_.ApplyImagePalette();
  for (Mirror& m : mirrors_)
    if (m.load == ImageLoad::Ready) m.window->ApplyImagePalette();
}

void MirrorHost::PlacePicture(POINT at, int effectCoin) {
  lead_.PlacePicture(at, effectCoin);
  const RECT area = lead_.ImageArea();
  const SIZE size = lead_.ImageSize();
  for (Mirror& m : mirrors_) {
    // A picture the mirror could not load leaves its monitor as it was.
    m.effectDone = m.load != ImageLoad::Ready;
    if (m.effectDone) continue;
    const RECT room = m.window->ImageArea();
    const SIZE own = m.window->ImageSize();
    const POINT placed = {
        MirrorOffset(at.x - area.left, area.right - area.left - size.cx, room.right - room.left - own.cx),
        MirrorOffset(at.y - area.top, area.bottom - area.top - size.cy, room.bottom - room.top - own.cy)};
    m.window->PlacePicture(placed, effectCoin);
  }
}

EffectStep MirrorHost::BeginEffect(bool appear, int kind) {
  const EffectStep lead = lead_.BeginEffect(appear, kind);
  leadDone_ = lead.Done;
  return Combined(lead, true, appear, kind, 0);
}

EffectStep MirrorHost::EffectSteps(bool appear, int kind, int steps) {
  EffectStep lead;
  lead.Done = true;
  if (!leadDone_) lead = lead_.EffectSteps(appear, kind, steps);
  leadDone_ = lead.Done;
  return Combined(lead, false, appear, kind, steps);
}

// The mirrors run the lead's effect step for step; the effect ends when it
// has ended on every monitor (a larger picture may take a step more).
EffectStep MirrorHost::Combined(EffectStep result, bool begin, bool appear, int kind, int steps) {
  for (Mirror& m : mirrors_) {
    if (m.effectDone) continue;
    const EffectStep step = begin ? m.window->BeginEffect(appear, kind) : m.window->EffectSteps(appear, kind, steps);
    m.effectDone = step.Done;
    if (step.Done) continue;
    if (result.Done) result.NextInterval = step.NextInterval;  // the pace of those still running
    result.Done = false;
  }
  return result;
}

void MirrorHost::KeepScreenAsBackground() {
  lead_.KeepScreenAsBackground();
  for (Mirror& m : mirrors_) m.window->KeepScreenAsBackground();
}

// A mirror that could not load the picture keeps what it showed, without a caption.
void MirrorHost::ShowCaption() {
  lead_.ShowCaption();
  for (Mirror& m : mirrors_)
    if (m.load == ImageLoad::Ready) m.window->ShowCaption();
}

void MirrorHost::HideCaption() {
  lead_.HideCaption();
  for (Mirror& m : mirrors_) m.window->HideCaption();
}

void MirrorHost::ClearPicture() {
  lead_.ClearPicture();
  for (Mirror& m : mirrors_) m.window->ClearPicture();
}

void MirrorHost::SetPaused(bool paused) {
  lead_.SetPaused(paused);
  for (Mirror& m : mirrors_) m.window->SetPaused(paused);
}

}  // namespace saver
