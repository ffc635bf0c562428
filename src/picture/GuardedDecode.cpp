#include "picture/GuardedDecode.h"

#include <map>
#include <memory>
#include <mutex>

#include "forms/Gdi.h"
#include "picture/Decoders.h"

namespace picture {

namespace {

struct DecodeRun {
  std::string plugin;  // empty for the program's own readers
  bool returned = false;   // the decode came back
  bool givenUp = false;    // the caller stopped waiting for it first
};

// Decodes given up on that are still inside their plug-in, by plug-in.
class LostDecodes {
 public:
  bool Holds(const std::string& plugin) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = lost_.find(plugin);
    return found != lost_.end() && found->second > 0;
  }

  // The caller stops waiting: false when the decode came back just in time.
  bool GiveUp(DecodeRun& run) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (run.returned) return false;
    run.givenUp = true;
    if (!run.plugin.empty()) ++lost_[run.plugin];
    return true;
  }

  // The decode came back, perhaps after the caller gave up on it.
  void Returned(DecodeRun& run) {
    std::lock_guard<std::mutex> lock(mutex_);
    run.returned = true;
    if (run.givenUp && !run.plugin.empty()) --lost_[run.plugin];
  }

 private:
  std::mutex mutex_;
  std::map<std::string, int> lost_;
};

LostDecodes lostDecodes;

}  // namespace

int DecodeEndError(DecodeEnd end) {
  switch (end) {
    case DecodeEnd::OverTime: return kDecodeOverTime;
    case DecodeEnd::Crashed: return kDecodeCrashed;
    case DecodeEnd::PluginLost: return kPluginLost;
    default: return 0;
  }
}

const char* DecodeEndMessage(DecodeEnd end) {
  switch (end) {
    case DecodeEnd::OverTime: return "画像の展開が時間内に終わりません";
    case DecodeEnd::Crashed: return "画像の展開中にデコーダが異常終了しました";
    case DecodeEnd::PluginLost: return "プラグインが前の画像の展開から戻りません";
    default: return "";
  }
}

DecodeEnd DecodeGuarded(forms::GuardedThread& thread, const std::string& fileName,
                        std::function<void(HDC canvas)> decode, DWORD limitMs) {
  auto run = std::make_shared<DecodeRun>();
  if (const char* plugin = PluginFileFor(fileName)) run->plugin = plugin;
  if (lostDecodes.Holds(run->plugin)) return DecodeEnd::PluginLost;
  const forms::ThreadEnd end = thread.Run(
      [run, decode = std::move(decode)] {
        {
          forms::MemoryDc canvas(CreateCompatibleDC(nullptr));
          decode(canvas.get());
        }
        lostDecodes.Returned(*run);
      },
      limitMs);
  switch (end) {
    case forms::ThreadEnd::Finished: return DecodeEnd::Finished;
    case forms::ThreadEnd::OverTime: return lostDecodes.GiveUp(*run) ? DecodeEnd::OverTime : DecodeEnd::Finished;
    case forms::ThreadEnd::Crashed:
    default:
      lostDecodes.GiveUp(*run);  // never comes back: the plug-in stays lost
      return DecodeEnd::Crashed;
  }
}

}  // namespace picture
