#include "forms/GuardedThread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "forms/Com.h"
#include "forms/Gdi.h"
#include "forms/Thread.h"

namespace forms {

// What the owner and one serving thread share; the thread keeps it alive
// after the owner has given it up.
struct GuardedLane {
  std::mutex mutex;
  std::condition_variable wake;
  std::function<void()> job;
  bool quit = false;
  KernelHandle jobEnded;  // auto-reset: set when a job returns or its thread is ended
  std::atomic<bool> crashed{false};
};

namespace {

// The lane of the calling thread, in a Win32 TLS slot: the fault filter
// reads it in the middle of a fault, where nothing may be allocated.
DWORD laneSlot = TLS_OUT_OF_INDEXES;
LPTOP_LEVEL_EXCEPTION_FILTER nextFilter = nullptr;
std::once_flag filterInstalled;

// Asked by the system for a fault no handler took. A serving thread is
// ended on the spot; any other fault goes on to the filter installed before.
LONG WINAPI EndFaultedThread(EXCEPTION_POINTERS* fault) {
  auto* lane = laneSlot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<GuardedLane*>(TlsGetValue(laneSlot));
  if (!lane) return nextFilter ? nextFilter(fault) : EXCEPTION_CONTINUE_SEARCH;
  lane->crashed = true;
  SetEvent(lane->jobEnded.get());
  ExitThread(fault->ExceptionRecord->ExceptionCode);
}

void InstallFilter() {
  laneSlot = TlsAlloc();
  if (laneSlot != TLS_OUT_OF_INDEXES) nextFilter = SetUnhandledExceptionFilter(EndFaultedThread);
}

void Serve(const std::shared_ptr<GuardedLane>& lane) {
  if (laneSlot != TLS_OUT_OF_INDEXES) TlsSetValue(laneSlot, lane.get());
  ComApartment com;
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> lock(lane->mutex);
      lane->wake.wait(lock, [&] { return lane->quit || lane->job; });
      if (!lane->job) break;  // given up, or the owner has gone
      job = std::move(lane->job);
      lane->job = nullptr;
    }
    try {
      job();
    } catch (...) {
    }
    job = nullptr;  // what the job holds is freed before the owner hears of it
    SetEvent(lane->jobEnded.get());
  }
  if (laneSlot != TLS_OUT_OF_INDEXES) TlsSetValue(laneSlot, nullptr);
}

std::shared_ptr<GuardedLane> StartLane() {
  auto lane = std::make_shared<GuardedLane>();
  lane->jobEnded.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!lane->jobEnded)
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "no event for the worker");
  StartDetachedThread([lane] { Serve(lane); });
  return lane;
}

}  // namespace

GuardedThread::~GuardedThread() {
  if (lane_) GiveUpLane();
}

void GuardedThread::GiveUpLane() {
  {
    std::lock_guard<std::mutex> lock(lane_->mutex);
    lane_->quit = true;
  }
  lane_->wake.notify_all();
  lane_.reset();
}

ThreadEnd GuardedThread::Run(std::function<void()> job, DWORD limitMs) {
  std::call_once(filterInstalled, InstallFilter);
  if (!lane_) lane_ = StartLane();
  {
    std::lock_guard<std::mutex> lock(lane_->mutex);
    lane_->job = std::move(job);
  }
  lane_->wake.notify_all();
  if (WaitForSingleObject(lane_->jobEnded.get(), limitMs) == WAIT_TIMEOUT) {
    GiveUpLane();  // its thread ends after the job, whenever that is
    return ThreadEnd::OverTime;
  }
  if (lane_->crashed) {
    lane_.reset();  // its thread is gone
    return ThreadEnd::Crashed;
  }
  return ThreadEnd::Finished;
}

}  // namespace forms
