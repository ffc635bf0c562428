// A picture's decode on a guarded thread (forms/GuardedThread.h),
// so that a decoder that never returns or that crashes costs one picture:
// the show and the settings dialog go on.
//
// A decoder given up on is still inside its plug-in: one that overran the
// time limit until it returns, one that crashed for good. A plug-in decodes
// one picture at a time (the imaging component's has a lock for it), so a
// picture sent to it meanwhile would only wait behind the lost decode or
// meet what the crash left: it is passed over at once instead.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "forms/GuardedThread.h"

namespace picture {

// Longer than any picture this program shows takes to decode (a 108 MP JPEG
// reduced on load: under 10 s on a slow machine), short enough that a show
// passes over a stuck decoder before the user gives up on it.
constexpr DWORD kDecodeTimeLimit = 30000;

enum class DecodeEnd {
  Finished,
  OverTime,    // over the time limit: the picture is given up on
  Crashed,     // the decoder faulted: its thread was ended
  PluginLost,  // not started: the plug-in is still inside a decode given up on
};

// Load errors of a decode that did not finish (beside the picture
// component's own codes).
constexpr int kDecodeOverTime = -3;
constexpr int kDecodeCrashed = -4;
constexpr int kPluginLost = -5;

// Error code and the user's message for an end other than Finished.
int DecodeEndError(DecodeEnd end);
const char* DecodeEndMessage(DecodeEnd end);

// Runs decode(canvas) for fileName on `thread` (COM is started there) with a
// memory DC of the screen as its canvas, and waits at most limitMs. Only
// after Finished may the caller read what decode wrote; decode must own all
// it writes to (it may go on after the call returns). Throws
// std::system_error when no thread can be started.
DecodeEnd DecodeGuarded(forms::GuardedThread& thread, const std::string& fileName,
                        std::function<void(HDC canvas)> decode, DWORD limitMs = kDecodeTimeLimit);

}  // namespace picture
