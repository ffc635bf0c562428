#include "library/WalkOrder.h"

#include <vector>

#include "library/FolderListing.h"
#include "library/NaturalOrder.h"

namespace library {

namespace {
std::vector<std::wstring> Components(const std::string& path) {
  std::vector<std::wstring> out(1);
  for (wchar_t c : FromAnsi(path)) {
    if (c == L'\\')
      out.emplace_back();
    else
      out.back() += c;
  }
  return out;
}
}  // namespace

bool WalkOrderLess(const std::string& a, const std::string& b) {
  const std::vector<std::wstring> x = Components(a), y = Components(b);
  for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
    const bool xFile = i + 1 == x.size(), yFile = i + 1 == y.size();
    if (xFile != yFile) return xFile;
    const int order = CompareNatural(x[i], y[i]);
    if (order != 0) return order < 0;
  }
  return false;
}

size_t FirstAfter(size_t count, const std::function<std::string(size_t)>& relativePath,
                  const std::string& after) {
  if (after.empty()) return 0;
  size_t low = 0, high = count;  // the answer lies in [low, high]
  while (low < high) {
    const size_t mid = low + (high - low) / 2;
    if (WalkOrderLess(after, relativePath(mid)))
      high = mid;
    else
      low = mid + 1;
  }
  return low;
}

}  // namespace library
