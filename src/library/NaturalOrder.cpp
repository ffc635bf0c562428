#include "library/NaturalOrder.h"

namespace library {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// ASCII and full-width Latin letters fold to upper case; other characters
// keep their code (Kana and Kanji then follow the code order Explorer's
// own sort falls back to).
wchar_t Fold(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<wchar_t>(c - 0xFF41 + L'A');
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<wchar_t>(c - 0xFF21 + L'A');
  return c;
}

int Sign(long long v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// Compares the digit runs starting at a[i] and b[j] by value; on return i
// and j stand after them. Equal values of different length (leading zeros)
// are left to the tie-break.
int CompareNumbers(const std::wstring& a, size_t& i, const std::wstring& b, size_t& j) {
  while (i < a.size() && a[i] == L'0' && i + 1 < a.size() && IsDigit(a[i + 1])) ++i;
  while (j < b.size() && b[j] == L'0' && j + 1 < b.size() && IsDigit(b[j + 1])) ++j;
  const size_t startA = i, startB = j;
  while (i < a.size() && IsDigit(a[i])) ++i;
  while (j < b.size() && IsDigit(b[j])) ++j;
  const size_t lengthA = i - startA, lengthB = j - startB;
  if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;  // more digits, larger number
  return Sign(a.compare(startA, lengthA, b, startB, lengthB));
}

}  // namespace

int CompareNatural(const std::wstring& a, const std::wstring& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const int numbers = CompareNumbers(a, i, b, j);
      if (numbers != 0) return numbers;
      continue;
    }
    const wchar_t x = Fold(a[i]), y = Fold(b[j]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;  // the shorter first
  return Sign(a.compare(b));  // same in Explorer's eyes: case and zeros decide
}

}  // namespace library
