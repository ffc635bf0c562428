// The order Explorer shows names in: letters without regard to case, and a
// run of digits as one number, so "img2" comes before "img10".
#pragma once
#include <string>

namespace library {

// Negative when a sorts before b, positive after, 0 when they are the same
// name. Names that differ only in case or in leading zeros are still told
// apart (by those differences, last), so a sort is total and repeatable.
int CompareNatural(const std::wstring& a, const std::wstring& b);

inline bool NaturalLess(const std::wstring& a, const std::wstring& b) {
  return CompareNatural(a, b) < 0;
}

}  // namespace library
