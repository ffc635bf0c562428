// Monitors=2: one show drawn on several windows. The primary monitor's
// window leads (its area and picture size place the picture); every mirror
// window loads the same picture fitted to its own monitor, shows it at the
// same share of its free room, and runs the same effect step for step. The
// host owns the mirror windows; a slow monitor holds the show back, not apart.
#pragma once
#include <memory>
#include <vector>

#include "saver/MonitorWindow.h"

namespace saver {

class MirrorHost : public MonitorHost {
 public:
  explicit MirrorHost(MonitorWindow& lead) : lead_(lead) {}

  void Add(std::unique_ptr<MonitorWindow> mirror);
  // The mirrors whose monitor is still there; the others' windows go.
  template <typename Keep>
  void KeepOnly(Keep keep);
  bool Empty() const { return mirrors_.empty(); }
  std::vector<const MonitorWindow*> Windows() const;

  // The lead's timer paces the show; its area and size place the picture.
  void SetInterval(int ms) override { lead_.SetInterval(ms); }
  RECT ImageArea() const override { return lead_.ImageArea(); }
  SIZE ImageSize() const override { return lead_.ImageSize(); }
  // Each of these goes to the lead and every mirror.
  void KeepScreenAsBackground() override;
  EffectStep BeginEffect(bool appear, int kind) override;
  EffectStep EffectSteps(bool appear, int kind, int steps) override;
  void PlacePicture(POINT at, int effectCoin) override;
  void ApplyImagePalette() override;
  ImageLoad TakeImageLoad() override;
  void StartImageLoad(const std::string& name) override;
  void ShowCaption() override;
  void HideCaption() override;
  void ClearPicture() override;
  void SetPaused(bool paused) override;

 private:
  struct Mirror {
    std::unique_ptr<MonitorWindow> window;
    ImageLoad load = ImageLoad::Running;  // its copy of the picture, taken ahead of the lead's
    bool effectDone = false;  // its part of the running effect has ended
  };
  EffectStep Combined(EffectStep lead, bool begin, bool appear, int kind, int steps);

  MonitorWindow& lead_;
  bool leadDone_ = false;
  std::vector<Mirror> mirrors_;
};

template <typename Keep>
void MirrorHost::KeepOnly(Keep keep) {
  std::vector<Mirror> kept;
  for (Mirror& m : mirrors_)
    if (keep(*m.window)) kept.push_back(std::move(m));
  mirrors_.swap(kept);  // the windows of lost monitors go with `kept`
}

}  // namespace saver
