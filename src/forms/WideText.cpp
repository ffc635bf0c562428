#include "forms/WideText.h"

namespace forms {

std::string AnsiFromWide(const std::wstring& wide) {
  if (wide.empty()) return "";
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string ansi(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0], n, nullptr, nullptr);
  return ansi;
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

}  // namespace forms
