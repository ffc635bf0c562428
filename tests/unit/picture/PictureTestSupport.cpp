#include "PictureTestSupport.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "forms/Gdi.h"

namespace picture_test {

namespace {

std::atomic<long> exclamationBeeps{0};
std::atomic<long> allBeeps{0};

BOOL WINAPI CountingBeep(UINT type) {
  ++allBeeps;
  if (type == MB_ICONEXCLAMATION) ++exclamationBeeps;
  return TRUE;
}

// Points this program's import of dll!function at replacement.
bool PatchImport(const char* dll, const char* function, void* replacement) {
  BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  bool patched = false;
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
      DWORD old;
      VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
      patched = true;
    }
  }
  return patched;
}

DWORD ThisProcess() { return GetCurrentProcessId(); }

std::string WindowText(HWND hwnd) {
  char buffer[1024] = "";
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

Box ReadBox(HWND dialog) {
  Box box;
  box.beepsBefore = exclamationBeeps;
  box.caption = WindowText(dialog);
  char text[1024] = "";
  GetDlgItemTextA(dialog, 0xFFFF, text, sizeof text);  // the message's static control
  box.text = text;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    char cls[64] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") == 0) box.buttons.push_back(WindowText(child));
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(cls, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
        SendMessageA(child, STM_GETICON, 0, 0))
      box.hasIcon = true;
  }
  return box;
}

struct Search {
  std::set<HWND>* seen;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[16] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == ThisProcess() && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd) &&
      !search->seen->count(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<Box> WithBoxes(const std::function<void()>& action) {
  std::vector<Box> boxes;
  std::atomic<bool> done{false};
  std::thread helper([&] {
    std::set<HWND> seen;
    while (!done) {
      Search search = {&seen, nullptr};
      EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        Sleep(50);  // let the dialog finish laying itself out
        seen.insert(search.found);
        boxes.push_back(ReadBox(search.found));
        PostMessageA(search.found, WM_COMMAND, IDOK, 0);
      }
      Sleep(10);
    }
  });
  action();
  done = true;
  helper.join();
  return boxes;
}

void InstallBeepHook() {
  static const bool installed = PatchImport("user32.dll", "MessageBeep", reinterpret_cast<void*>(CountingBeep));
  (void)installed;
}
long ExclamationBeeps() { return exclamationBeeps; }
long AllBeeps() { return allBeeps; }

void StandIn(const std::string& control) {
  SetEnvironmentVariableA("GLIMORA_STANDIN", control.c_str());
  SetEnvironmentVariableA("GLIMORA_STANDIN_LOG", "");
}

std::string StandInLog() {
  char buffer[8192] = "";
  GetEnvironmentVariableA("GLIMORA_STANDIN_LOG", buffer, sizeof buffer);
  return buffer;
}

std::string Fixtures() { return "fixtures\\"; }

std::string Scratch() {
  CreateDirectoryA("scratch", nullptr);
  return "scratch\\";
}

void WriteFile(const std::string& name, const std::vector<BYTE>& bytes) {
  std::ofstream out(name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Image ReadPpm(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  Image image;
  in >> magic >> image.width >> image.height >> maxValue;
  in.get();
  for (int i = 0; in && i < image.width * image.height; ++i) {
    unsigned char rgb[3];
    in.read(reinterpret_cast<char*>(rgb), 3);
    image.pixels.push_back(RGB(rgb[0], rgb[1], rgb[2]));
  }
  if (magic != "P6" || static_cast<int>(image.pixels.size()) != image.width * image.height)
    image = Image();
  return image;
}

Image Shown(TAll& picture) {
  Image image;
  if (picture.Empty()) return image;
  BITMAP info = {};
  GetObjectA(picture.Bitmap(), sizeof info, &info);
  image.width = info.bmWidth;
  image.height = info.bmHeight;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = image.width;
  bi.bmiHeader.biHeight = -image.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  forms::BitmapHandle section(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  forms::MemoryDc dc(CreateCompatibleDC(nullptr));
  {
    forms::Selection select(dc.get(), section.get());
    BitBlt(dc.get(), 0, 0, image.width, image.height, picture.Canvas(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const BYTE* p = static_cast<const BYTE*>(bits);
  for (int i = 0; i < image.width * image.height; ++i) image.pixels.push_back(RGB(p[4 * i + 2], p[4 * i + 1], p[4 * i]));
  return image;
}

std::string FirstDifference(const Image& a, const Image& b, int tolerance) {
  std::ostringstream out;
  if (a.width != b.width || a.height != b.height) {
    out << "size " << a.width << "x" << a.height << " vs " << b.width << "x" << b.height;
    return out.str();
  }
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      const COLORREF p = a.At(x, y), q = b.At(x, y);
      if (std::abs(GetRValue(p) - GetRValue(q)) > tolerance || std::abs(GetGValue(p) - GetGValue(q)) > tolerance ||
          std::abs(GetBValue(p) - GetBValue(q)) > tolerance) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d,%d): %06lx vs %06lx", x, y, static_cast<unsigned long>(p),
                      static_cast<unsigned long>(q));
        return text;
      }
    }
  return "";
}

int PaletteEntries(HPALETTE palette) {
  WORD entries = 0;
  if (!palette || !GetObjectA(palette, sizeof entries, &entries)) return 0;
  return entries;
}

}  // namespace picture_test
