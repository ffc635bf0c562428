#include "picture/Loader.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>

#include "forms/Gdi.h"
#include "forms/Thread.h"
#include "forms/WideText.h"
#include "picture/Decode.h"
#include "picture/Decoders.h"
#include "picture/Fit.h"
#include "picture/GuardedDecode.h"
#include "picture/PluginLibrary.h"
#include "picture/Staging.h"

namespace picture {

namespace {

std::atomic<int> liveWorkers{0};

// One decode at a time in the whole process: the large photos this program
// shows need a good part of a 32-bit address space each. A worker whose
// loader has gone stops its decode at the next progress report, so it
// hands the turn on quickly; one whose decoder is stuck hands it on at the
// decode's time limit.
std::mutex decodeTurn;


// The plug-ins this worker has used, kept loaded until it ends. A MinGW-built
// DLL takes a kernel handle each time it is loaded afresh and does not give it
// back when unloaded, so loading the plug-in for every picture would leak one
// handle a picture over a long show.
class PinnedPlugins {
 public:
  void Pin(const std::string& fileName) {
    const char* file = PluginFileFor(fileName);
    if (!file || modules_.count(file)) return;
    forms::ModuleHandle module(LoadPluginModule(file));
    if (module) modules_.emplace(file, std::move(module));
  }

 private:
  std::map<std::string, forms::ModuleHandle> modules_;
};

}  // namespace

LoadResult LoadPictureFile(const LoadRequest& request, HDC canvas, const std::function<bool()>& cancelled) {
  LoadResult result;
  result.fileName = request.fileName;
  try {
    const bool fit = request.fitTo.cx > 0 && request.fitTo.cy > 0;
    DecodeOutcome decoded =
        DecodeForArea(request.fileName, fit ? request.fitTo : SIZE{0, 0}, canvas, cancelled);
    result.error = decoded.error;
    result.message = std::move(decoded.message);
    result.paletteMade = decoded.paletteMade;
    result.orgWidth = decoded.orgWidth;
    result.orgHeight = decoded.orgHeight;
    // A plug-in that stopped on the cancel check reports a failure of its own.
    if (cancelled && cancelled()) {
      result.error = kLoadCancelled;
      return result;
    }
    if (decoded.error != 0) return result;
    const StageRequest stage = {request.area, request.fitTo, request.fillBars, request.motionZoom};
    if (WantsStaging(stage)) {
      Staged staged = StagePicture(std::move(decoded.picture), stage, cancelled);
      result.picture = std::move(staged.shown);
      result.motion = std::move(staged.motion);
      result.motionWhole = staged.motionWhole;
      result.paletteMade = result.picture.palette.get() != nullptr;
    } else {
      result.picture = fit ? FitPicture(std::move(decoded.picture), request.fitTo, cancelled)
                           : std::move(decoded.picture);
    }
    if (request.cropTo.cx > 0 && request.cropTo.cy > 0)
      result.picture = CropPicture(std::move(result.picture), request.cropTo);
    if (!result.picture.bitmap) result.error = kLoadCancelled;
    if (result.error == 0 && request.readFacts)
      result.facts = ReadPictureFacts(forms::FromAnsi(request.fileName), decoded.infoText);
  } catch (const std::exception& e) {
    result.error = kLoadRaised;
    result.message = e.what();
    result.picture = LoadedPicture();
  }
  return result;
}

// What the loader and its worker share; the worker keeps it alive after
// an abandoning loader has gone.
struct LoaderShared {
  std::mutex mutex;
  std::condition_variable wake;
  HWND window;
  UINT message;
  bool quit = false;
  unsigned lastTicket = 0;
  std::optional<LoadRequest> pending;
  unsigned pendingTicket = 0;
  unsigned running = 0;
  std::optional<LoadResult> finished;
  unsigned finishedTicket = 0;
  // The ticket whose result is still wanted; any other running load stops.
  std::atomic<unsigned> wanted{0};
};

namespace {

// A load that raises (a plug-in that cannot be kept loaded, memory running
// out in a huge picture) passes the picture over rather than ending the
// worker, and the show goes on; so does a decode that overruns its time or
// crashes (GuardedDecode.h).
LoadResult PinAndLoad(PinnedPlugins& plugins, forms::GuardedThread& decoder, const LoadRequest& request,
                      const StopCheck& cancelled) {
  LoadResult failed;
  failed.fileName = request.fileName;
  try {
    plugins.Pin(request.fileName);
    // Shared with the decode's thread, which may outlive this call.
    auto loaded = std::make_shared<LoadResult>();
    const DecodeEnd end = DecodeGuarded(decoder, request.fileName, [loaded, request, cancelled](HDC canvas) {
      *loaded = LoadPictureFile(request, canvas, cancelled);
    });
    if (end == DecodeEnd::Finished) return std::move(*loaded);
    failed.error = DecodeEndError(end);
    failed.message = DecodeEndMessage(end);
  } catch (const std::exception& e) {
    failed.error = kLoadRaised;
    failed.message = e.what();
  }
  return failed;
}

void Serve(const std::shared_ptr<LoaderShared>& s) {
  PinnedPlugins plugins;
  forms::GuardedThread decoder;
  for (;;) {
    LoadRequest request;
    unsigned ticket;
    {
      std::unique_lock<std::mutex> lock(s->mutex);
      s->wake.wait(lock, [&] { return s->quit || s->pending; });
      if (s->quit) break;
      request = std::move(*s->pending);
      s->pending.reset();
      ticket = s->pendingTicket;
      s->running = ticket;
    }
    // By value: a decode given up on still asks it after this load.
    const StopCheck cancelled = [s, ticket] { return s->wanted.load() != ticket; };
    LoadResult result;
    {
      std::lock_guard<std::mutex> turn(decodeTurn);
      result = PinAndLoad(plugins, decoder, request, cancelled);
    }
    std::lock_guard<std::mutex> lock(s->mutex);
    s->running = 0;
    if (cancelled() || s->quit) continue;  // the result is freed here, unseen
    s->finished = std::move(result);
    s->finishedTicket = ticket;
    if (s->window) PostMessageA(s->window, s->message, 0, static_cast<LPARAM>(ticket));
  }
}

void Work(std::shared_ptr<LoaderShared> s) {
  // The window's thread answers input first on a busy machine.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  Serve(s);
  s.reset();
  --liveWorkers;
}

}  // namespace

Loader::Loader(HWND window, UINT message) : shared_(std::make_shared<LoaderShared>()) {
  shared_->window = window;
  shared_->message = message;
  ++liveWorkers;
  try {
    forms::StartDetachedThread([shared = shared_] { Work(shared); });
  } catch (...) {
    --liveWorkers;
    throw;
  }
}

Loader::~Loader() {
  std::optional<LoadResult> unclaimed;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->quit = true;
    shared_->window = nullptr;
    shared_->wanted = 0;
    shared_->pending.reset();
    unclaimed = std::move(shared_->finished);
    shared_->finished.reset();
  }
  shared_->wake.notify_all();
}

unsigned Loader::Start(LoadRequest request) {
  std::optional<LoadResult> dropped;
  unsigned ticket;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    ticket = ++shared_->lastTicket;
    if (ticket == 0) ticket = ++shared_->lastTicket;
    shared_->wanted = ticket;
    shared_->pending = std::move(request);
    shared_->pendingTicket = ticket;
    dropped = std::move(shared_->finished);
    shared_->finished.reset();
  }
  shared_->wake.notify_all();
  return ticket;
}

void Loader::Cancel() {
  std::optional<LoadResult> dropped;
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->wanted = 0;
  shared_->pending.reset();
  dropped = std::move(shared_->finished);
  shared_->finished.reset();
}

std::optional<LoadResult> Loader::Take(unsigned ticket) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  if (!shared_->finished || shared_->finishedTicket != ticket || shared_->wanted != ticket)
    return std::nullopt;
  std::optional<LoadResult> result = std::move(shared_->finished);
  shared_->finished.reset();
  shared_->wanted = 0;
  return result;
}

bool Loader::Busy() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->pending.has_value() || shared_->running != 0;
}

int Loader::LiveWorkers() { return liveWorkers.load(); }

}  // namespace picture
