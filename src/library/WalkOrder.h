// The order of a folder walk, and a place in it. A show continues inside a
// folder entry after LastImageInFolder (the path below the folder of the
// last picture shown): with the first picture after it in the walk's order,
// so pictures added or removed since do not throw the place off.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

namespace library {

// True when relative path a comes before b in the walk's order: at the
// first level where they differ, a folder's own pictures come before its
// subfolders, and names follow Explorer's order.
bool WalkOrderLess(const std::string& a, const std::string& b);

// The number of the first of count pictures (relativePath(i) in walk order)
// that comes after `after`; count when none does. An empty `after` gives 0.
size_t FirstAfter(size_t count, const std::function<std::string(size_t)>& relativePath,
                  const std::string& after);

}  // namespace library
