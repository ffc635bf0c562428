// Move-only owners of GDI and kernel handles: each handle has exactly one
// owner that releases it, so a screen saver running for days leaks nothing.
#pragma once
#include <windows.h>
#include <utility>

namespace forms {

template <class H, class Deleter>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(o.release()) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  H release() { return std::exchange(h_, nullptr); }
  void reset(H h = nullptr) {
    if (h_ && h_ != h) Deleter()(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

struct GdiObjectDeleter { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct DcDeleter { void operator()(HDC h) const { DeleteDC(h); } };
struct ModuleDeleter { void operator()(HMODULE h) const { FreeLibrary(h); } };
struct GlobalDeleter { void operator()(HGLOBAL h) const { GlobalFree(h); } };
struct HandleDeleter { void operator()(HANDLE h) const { CloseHandle(h); } };
struct RegistryKeyDeleter { void operator()(HKEY h) const { RegCloseKey(h); } };
struct FindDeleter { void operator()(HANDLE h) const { FindClose(h); } };

using BitmapHandle = Owned<HBITMAP, GdiObjectDeleter>;
using PaletteHandle = Owned<HPALETTE, GdiObjectDeleter>;
using FontHandle = Owned<HFONT, GdiObjectDeleter>;
using BrushHandle = Owned<HBRUSH, GdiObjectDeleter>;
using MemoryDc = Owned<HDC, DcDeleter>;
using ModuleHandle = Owned<HMODULE, ModuleDeleter>;
using GlobalHandle = Owned<HGLOBAL, GlobalDeleter>;
using KernelHandle = Owned<HANDLE, HandleDeleter>;  // null when empty; files: FileHandle.h
using RegistryKey = Owned<HKEY, RegistryKeyDeleter>;
// A FindFirstFile search; wrap only a handle that is not INVALID_HANDLE_VALUE.
using FindHandle = Owned<HANDLE, FindDeleter>;

// The guards below each undo once what they did: none is ever copied.
class Guard {
 public:
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 protected:
  Guard() = default;
};

// A DC obtained with GetDC, released with ReleaseDC.
class WindowDc : Guard {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC for the lifetime of the guard.
class Selection : Guard {
 public:
  Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~Selection() { if (old_) SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Selects a palette into a DC (and realises it there) for the lifetime of
// the guard; a null palette leaves the DC alone.
class PaletteSelection : Guard {
 public:
  PaletteSelection(HDC dc, HPALETTE palette, bool background = false)
      : dc_(dc), background_(background),
        old_(palette ? SelectPalette(dc, palette, background) : nullptr) {
    if (old_) RealizePalette(dc_);
  }
  ~PaletteSelection() { if (old_) SelectPalette(dc_, old_, background_); }

 private:
  HDC dc_;
  BOOL background_;
  HPALETTE old_;
};

// A stretch mode set on a DC for the lifetime of the guard.
class StretchMode : Guard {
 public:
  StretchMode(HDC dc, int mode) : dc_(dc), old_(SetStretchBltMode(dc, mode)) {}
  ~StretchMode() { if (old_) SetStretchBltMode(dc_, old_); }

 private:
  HDC dc_;
  int old_;
};

// BeginPaint ... EndPaint of one WM_PAINT.
class PaintDc : Guard {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  HDC get() const { return dc_; }
  const RECT& Dirty() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_ = {};
  HDC dc_;
};

// A global memory block locked for the lifetime of the guard.
class GlobalLockGuard : Guard {
 public:
  explicit GlobalLockGuard(HGLOBAL h) : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
  ~GlobalLockGuard() { if (p_) GlobalUnlock(h_); }
  void* get() const { return p_; }

 private:
  HGLOBAL h_;
  void* p_;
};

}  // namespace forms
