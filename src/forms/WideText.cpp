#include "forms/WideText.h"

namespace forms {

std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return "";
  const int length = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, wide.data(), length, &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), length, &out[0], n);
  return out;
}

std::string WideItem(HWND control, UINT lengthMsg, UINT textMsg, int index) {
  const LRESULT n = SendMessageW(control, lengthMsg, static_cast<WPARAM>(index), 0);
  if (n < 0) return "";
  std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
  const LRESULT got = SendMessageW(control, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]));
  if (got < 0) return "";
  wide.resize(static_cast<size_t>(got < n ? got : n));
  return AnsiFromWide(wide);
}

std::string WideWindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(window, &wide[0], n + 1);
  wide.resize(static_cast<size_t>(got > 0 ? got : 0));
  return AnsiFromWide(wide);
}

bool ToAnsi(const std::wstring& text, std::string& out) {
  out.clear();
  if (text.empty()) return true;
  const int length = static_cast<int>(text.size());
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0,
                                    nullptr, &lossy);
  if (n <= 0 || lossy) return false;
  out.resize(n);
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, &out[0], n, nullptr, nullptr);
  // A character the code page only approximates does not come back the same.
  return FromAnsi(out) == text;
}

}  // namespace forms
