// The guarded thread that picture decodes run on, in this build's width:
// a fault inside a job ends only the job's thread (the test program goes on,
// and so does the owner, on a new thread), a job past its limit is left
// running, and faults elsewhere are not touched (the filter passes them on).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <stdexcept>

#include "forms/GuardedThread.h"

namespace {

using forms::GuardedThread;
using forms::ThreadEnd;

TEST(GuardedThread, AJobThatFaultsEndsItsThreadAloneAndTheNextRunsAsUsual) {
  GuardedThread thread;
  DWORD first = 0, second = 0;
  EXPECT_EQ(ThreadEnd::Finished, thread.Run([&] { first = GetCurrentThreadId(); }, 10000));
  EXPECT_EQ(ThreadEnd::Finished, thread.Run([&] { second = GetCurrentThreadId(); }, 10000));
  EXPECT_EQ(first, second) << "jobs share their thread";
  EXPECT_NE(GetCurrentThreadId(), first);
  std::atomic<bool> after{false};
  EXPECT_EQ(ThreadEnd::Crashed, thread.Run([&] {
              *static_cast<volatile int*>(nullptr) = 1;
              after = true;
            }, 10000));
  EXPECT_FALSE(after);  // nothing after the fault ran
  EXPECT_EQ(ThreadEnd::Crashed, thread.Run([] {
              volatile int zero = 0;
              volatile int quotient = 7 / zero;
              (void)quotient;
            }, 10000));
  int result = 0;
  EXPECT_EQ(ThreadEnd::Finished, thread.Run([&] { result = 42; }, 10000));
  EXPECT_EQ(42, result);
}

TEST(GuardedThread, AJobPastItsLimitIsLeftRunningAndAnExceptionCountsAsFinished) {
  GuardedThread thread;
  auto released = std::make_shared<std::atomic<bool>>(false);
  auto done = std::make_shared<std::atomic<bool>>(false);
  const DWORD start = GetTickCount();
  EXPECT_EQ(ThreadEnd::OverTime, thread.Run([released, done] {
              while (!*released) Sleep(5);
              *done = true;
            }, 200));
  EXPECT_GE(GetTickCount() - start, 190u);
  EXPECT_FALSE(*done);
  *released = true;  // the work left behind still ends by itself
  for (int i = 0; i < 400 && !*done; ++i) Sleep(5);
  EXPECT_TRUE(*done);
  EXPECT_EQ(ThreadEnd::Finished, thread.Run([] { throw std::runtime_error("reported by the job"); }, 10000));
}

TEST(GuardedThread, AFaultOnAnotherThreadStillGoesToTheFilterBeforeIt) {
  // A fault outside guarded work is handed to the filter installed before
  // ours (the runtime's, which lets it through to the system): the thread is
  // not ended, the program ends as it always has.
  GuardedThread().Run([] {}, 10000);  // ours is installed by now
  const LPTOP_LEVEL_EXCEPTION_FILTER ours = SetUnhandledExceptionFilter(nullptr);
  SetUnhandledExceptionFilter(ours);
  ASSERT_NE(nullptr, ours);
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  CONTEXT context = {};
  EXCEPTION_POINTERS fault = {&record, &context};
  EXPECT_EQ(EXCEPTION_CONTINUE_SEARCH, ours(&fault));  // not a guarded thread: passed on, not ended
}

}  // namespace
