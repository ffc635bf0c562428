// A thread that runs jobs for its owner, who waits for each at most a time
// limit: for code this program does not control, such as a picture decoder
// of the system or of a plug-in. One that never returns, or that crashes,
// costs the owner one job instead of the whole program.
//
// A job that overruns the limit goes on unobserved and ends when it ends;
// its thread is given up and the next job gets a new one. So a job must own
// all it touches (capture by value, or shared state). When a job's thread
// meets a fault nobody handles (an access violation inside a decoder), that
// thread alone is ended and the program goes on. Nothing the thread held is
// given back: its stack objects are never destroyed, and a lock it held
// inside the faulting code stays held, so the owner should not send more
// work to the same code. A fault on any other thread ends the program as
// before.
//
// The thread keeps COM started for its life (the system's decoders need it),
// so that jobs do not pay for starting it each time.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

namespace forms {

enum class ThreadEnd { Finished, OverTime, Crashed };

struct GuardedLane;

class GuardedThread {
 public:
  GuardedThread() = default;
  // The thread ends after the job it is in, if any; it is never waited for.
  ~GuardedThread();
  GuardedThread(const GuardedThread&) = delete;
  GuardedThread& operator=(const GuardedThread&) = delete;

  // Runs job and waits for it; an exception leaving the job counts as
  // finished (the job reports its own failures). One caller at a time.
  // Throws std::system_error when no thread can be started; the job is then
  // not run.
  ThreadEnd Run(std::function<void()> job, DWORD limitMs);

 private:
  void GiveUpLane();

  std::shared_ptr<GuardedLane> lane_;  // the thread serving jobs; none until the first
};

}  // namespace forms
