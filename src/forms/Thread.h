// A detached worker thread started with the C runtime's own thread call.
// The workers of this program (picture loads, folder walks) are never joined:
// each owns what it needs through shared state and ends on its own.
//
// Not std::thread: under the posix-threads runtime a detached thread that
// ends at the moment another one is started could leave the new thread
// never running (seen under Wine as a folder walk that never began, so its
// entry waited forever).
#pragma once
#include <functional>

namespace forms {

// Runs work on a new thread. Throws std::system_error when no thread can be
// started; work is then not run.
void StartDetachedThread(std::function<void()> work);

}  // namespace forms
