#include "forms/Thread.h"

#include <windows.h>
#include <process.h>

#include <memory>
#include <system_error>

namespace forms {

namespace {
unsigned __stdcall RunWork(void* arg) {
  std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(arg));
  // Each worker reports its own failures; one that slips through must not
  // end the whole program (an exception leaving a thread would).
  try {
    (*work)();
  } catch (...) {
    return 1;
  }
  return 0;
}
}  // namespace

void StartDetachedThread(std::function<void()> work) {
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  const uintptr_t thread = _beginthreadex(nullptr, 0, RunWork, owned.get(), 0, nullptr);
  if (thread == 0) throw std::system_error(errno, std::generic_category(), "no thread for the worker");
  owned.release();  // the thread frees it
  CloseHandle(reinterpret_cast<HANDLE>(thread));
}

}  // namespace forms
