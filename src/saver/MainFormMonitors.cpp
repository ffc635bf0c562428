// The windows on the other monitors: made by the primary's window when the
// show starts, dropped when their monitor goes. With Monitors 1 each runs a
// show of its own from the shared picture source; with 2 the primary's show
// draws on them too (the same picture, fitted to each monitor, the same
// effect at the same pace); with 0 they keep the background.
#include "picture/All.h"
#include "saver/MainForm.h"

namespace {
TMainForm::MonitorRole RoleFor(int monitorsMode) {
  switch (monitorsMode) {
    case settings::kPrimaryOnly: return TMainForm::MonitorRole::Background;
    case settings::kAllSame: return TMainForm::MonitorRole::Mirror;
    default: return TMainForm::MonitorRole::OwnPictures;
  }
}

// Where a mirror's picture goes: at the same share of its free room as the
// primary's picture has of the primary's (centred stays centred).
int MirrorOffset(int offset, int room, int mirrorRoom) {
  if (room <= 0) return mirrorRoom / 2;
  return static_cast<int>(static_cast<long long>(offset) * mirrorRoom / room);
}
}  // namespace

void TMainForm::CreateOtherMonitors() {
  // Every monitor gets a window, so none shows the desktop; Monitors decides
  // what the others show.
  const std::vector<saver::Monitor> all = saver::ShowMonitors(saver::SystemMonitors(), settings::kEachOwn);
  const MonitorRole role = RoleFor(theme_.Monitors);
  for (size_t i = 1; i < all.size(); ++i) {
    others_.push_back(std::make_unique<TMainForm>(*this, all[i].Bounds, role));
    if (role == MonitorRole::Mirror) mirrors_.push_back(others_.back().get());
  }
}

// Only windows that run a show of their own count: a mirror shows the
// primary's picture by design.
bool TMainForm::InUse(const std::string& image) const {
  const TMainForm& primary = primary_ ? *primary_ : *this;
  if (image.empty() || primary.others_.empty()) return false;
  auto busy = [&](const TMainForm& w) { return w.show_ && (w.shownName_ == image || w.loadName_ == image); };
  if (busy(primary)) return true;
  for (const auto& other : primary.others_)
    if (busy(*other)) return true;
  return false;
}

void TMainForm::DropLostMonitors() {
  std::vector<saver::Monitor> shown;
  for (const auto& other : others_) shown.push_back({other->monitor_, false});
  const std::vector<int> remaining = saver::RemainingMonitors(shown, saver::SystemMonitors());
  std::vector<std::unique_ptr<TMainForm>> kept;
  for (int i : remaining) kept.push_back(std::move(others_[static_cast<size_t>(i)]));
  mirrors_.clear();
  for (const auto& other : kept)
    if (other->role_ == MonitorRole::Mirror) mirrors_.push_back(other.get());
  others_.swap(kept);  // the windows of lost monitors go with `kept`
}

// The mirrors' pictures are taken as each finishes and kept until the
// primary's is ready, so a slow monitor holds the show back, not apart.
saver::ImageLoad TMainForm::TakeMirrorLoads() {
  saver::ImageLoad all = saver::ImageLoad::Ready;
  for (TMainForm* mirror : mirrors_) {
    if (mirror->mirrorLoad_ == saver::ImageLoad::Running) mirror->mirrorLoad_ = mirror->TakeImageLoad();
    if (mirror->mirrorLoad_ == saver::ImageLoad::Running) all = saver::ImageLoad::Running;
  }
  return all;
}

void TMainForm::PlaceOnMirrors(POINT at, int effectCoin) {
  const RECT area = ImageArea();
  const SIZE size = ImageSize();
  for (TMainForm* mirror : mirrors_) {
    // A picture the mirror could not load leaves its monitor as it was.
    mirror->effectDone_ = mirror->mirrorLoad_ != saver::ImageLoad::Ready;
    if (mirror->effectDone_) continue;
    const RECT room = mirror->ImageArea();
    const SIZE own = mirror->ImageSize();
    const POINT placed = {
        MirrorOffset(at.x - area.left, area.right - area.left - size.cx, room.right - room.left - own.cx),
        MirrorOffset(at.y - area.top, area.bottom - area.top - size.cy, room.bottom - room.top - own.cy)};
    mirror->PrepareMotion(placed);
    mirror->drawing_->PlacePicture(mirror->shownPicture_->Canvas(), own, placed, effectCoin);
  }
}

// The mirrors run the primary's effect step for step; the effect ends when
// it has ended on every monitor (a larger picture may take a step more).
saver::EffectStep TMainForm::MirrorSteps(const saver::EffectStep& own, bool appear, int kind, int steps,
                                          bool begin) {
  saver::EffectStep result = own;
  for (TMainForm* mirror : mirrors_) {
    if (mirror->effectDone_) continue;
    if (begin && !appear) mirror->SettleMotion();
    const saver::EffectStep step = begin ? mirror->drawing_->BeginEffect(appear, kind)
                                         : mirror->drawing_->EffectSteps(appear, kind, steps);
    mirror->effectDone_ = step.Done;
    if (appear && step.Done) mirror->RunMotion();
    if (step.Done) continue;
    if (result.Done) result.NextInterval = step.NextInterval;  // the pace of those still running
    result.Done = false;
  }
  return result;
}
