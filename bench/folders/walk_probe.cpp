// Times the folder walk over a picture library, as the show and the dialog
// run it: how soon the first picture is known, how long the whole walk
// takes, and what the list and the process hold afterwards. Prints figures.
//   walk_probe.exe <folder> [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../Clock.h"
#include "library/FolderWalk.h"

namespace {

// The process's committed memory (Wine reports no private-bytes figure).
size_t CommittedBytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return std::fprintf(stderr, "usage: walk_probe.exe <folder> [runs]\n"), 2;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const library::PictureKinds kinds = library::PictureKinds::All();
  std::vector<double> first, whole;
  for (int run = 0; run < runs; ++run) {
    const size_t before = CommittedBytes();
    const double start = bench::NowMs();
    library::FolderWalk walk(argv[1], kinds);
    for (library::FolderWalk::Progress now = walk.Now(); now.found == 0 && !now.done; now = walk.Now()) Sleep(1);
    first.push_back(bench::NowMs() - start);
    walk.WaitDone(INFINITE);
    whole.push_back(bench::NowMs() - start);
    const library::WalkCounts counts = walk.Counts();
    std::printf("run %d: first picture %.0f ms, whole walk %.0f ms, %u pictures (%u not shown, %u unreadable "
                "folders), list %.1f MB, process grew %.1f MB\n",
                run + 1, first.back(), whole.back(), static_cast<unsigned>(walk.Count()), counts.notShown,
                counts.unreadable, walk.MemoryBytes() / 1048576.0, (CommittedBytes() - before) / 1048576.0);
    std::fflush(stdout);
  }
  std::printf("median of %d: first picture known %.0f ms after the walk starts; whole walk %.0f ms\n", runs,
              Median(first), Median(whole));
  return 0;
}
