// The benchmarks' clock (milliseconds from the performance counter) and
// their command-line lists.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace bench {

inline double NowMs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// "0,200,400" -> {0, 200, 400}; stops at the first item that is not a number.
inline std::vector<int> NumberList(const char* text) {
  std::vector<int> numbers;
  for (const char* p = text; *p;) {
    char* end = nullptr;
    const long n = std::strtol(p, &end, 10);
    if (end == p) break;
    numbers.push_back(static_cast<int>(n));
    p = *end == ',' ? end + 1 : end;
  }
  return numbers;
}

}  // namespace bench
