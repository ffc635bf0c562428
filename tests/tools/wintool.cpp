// Test probe run under Wine beside Glimora.scr: finds windows and controls
// (by class, title or component name), reports their texts, rectangles and
// states, and performs a few actions that a test cannot do through X.
//
//   wintool find <class|-> [title]          hwnd of a visible top-level window, or exit 1
//   wintool wait <class|-> <ms> [title]     like find, waiting up to ms
//   wintool gone <class|-> <ms>             exit 0 once no such window exists
//   wintool tree <hwnd>                     the window and its descendants, one per line
//   wintool top                             all visible top-level windows
//   wintool named <hwnd> <name>             hwnd of the descendant with that component name
//   wintool text <hwnd>                     window text
//   wintool widetext <hwnd>                 window text as UTF-16 code units in hex
//   wintool settext <hwnd> <text>           WM_SETTEXT
//   wintool click <hwnd>                    BM_CLICK (posted)
//   wintool post <hwnd> <msg> <wp> <lp>     PostMessage
//   wintool send <hwnd> <msg> <wp> <lp>     SendMessage, prints the result
//   wintool close <hwnd>                    WM_CLOSE (posted)
//   wintool parent <w> <h> [class [x y]]    creates a window (to host a preview, or of a given class,
//                                           at 100,100 or x,y); prints its hwnd, runs until closed
//   wintool hold <path>                     opens a file with no sharing and keeps it until killed
//   wintool lbitems <hwnd>                  list box items with their selection state
//   wintool serve                           answers the commands above (not parent or hold), one a line
//                                           on standard input, fields split by 0x1F; after each answer
//                                           a line 0x1E<exit code>. Saves a Wine start per command.
//   wintool monitors                        each monitor: left,top,right,bottom|primary (1 or 0)
//   wintool client <hwnd>                   client area: width,height
//   wintool dpi                             the system's DPI (LOGPIXELSY of the screen)
//   wintool redisplay                       applies the display settings anew, as the system does when a
//                                           monitor comes or goes: Wine reads the monitors again and every
//                                           top-level window gets WM_DISPLAYCHANGE (run it on its own, not
//                                           through serve: a Wine process reads X's monitors when it starts)
// Line format of tree/top: hwnd|name|class|text|left,top,right,bottom|visible|enabled|checked|style
#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND ToHwnd(const char* s) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(s, nullptr, 0))); }
long long FromHwnd(HWND h) { return static_cast<long long>(reinterpret_cast<INT_PTR>(h)); }

std::string NameOf(HWND h) {
  ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(h, "GlimoraName")));
  if (!atom) return "";
  char buf[256] = {};
  GlobalGetAtomNameA(atom, buf, sizeof buf);
  return buf;
}

std::string TextOf(HWND h) {
  char buf[4096] = {};
  SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buf;
}

void PrintLine(HWND h) {
  char cls[256] = {};
  GetClassNameA(h, cls, sizeof cls);
  RECT r = {};
  GetWindowRect(h, &r);
  std::string text = TextOf(h);
  for (char& c : text)
    if (c == '\n' || c == '\r' || c == '|') c = ' ';
  LRESULT checked = 0;
  if (std::strcmp(cls, "Button") == 0 || std::strcmp(cls, "BUTTON") == 0)
    SendMessageTimeoutA(h, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, reinterpret_cast<PDWORD_PTR>(&checked));
  std::printf("%lld|%s|%s|%s|%ld,%ld,%ld,%ld|%d|%d|%d|%08lx\n", FromHwnd(h), NameOf(h).c_str(), cls,
              text.c_str(), r.left, r.top, r.right, r.bottom, IsWindowVisible(h) ? 1 : 0,
              IsWindowEnabled(h) ? 1 : 0, static_cast<int>(checked),
              static_cast<unsigned long>(GetWindowLongA(h, GWL_STYLE)));
}

BOOL CALLBACK PrintChild(HWND h, LPARAM) {
  PrintLine(h);
  return TRUE;
}

struct FindState {
  const char* cls;
  const char* title;
  HWND found;
};

BOOL CALLBACK FindTop(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<FindState*>(lp);
  if (!IsWindowVisible(h)) return TRUE;
  char cls[256] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (s->cls && std::strcmp(s->cls, "-") != 0 && std::strcmp(cls, s->cls) != 0) return TRUE;
  if (s->title && TextOf(h) != s->title) return TRUE;
  s->found = h;
  return FALSE;
}

BOOL CALLBACK PrintTop(HWND h, LPARAM) {
  if (IsWindowVisible(h)) PrintLine(h);
  return TRUE;
}

struct NameState {
  const char* name;
  HWND found;
};

BOOL CALLBACK FindNamed(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<NameState*>(lp);
  if (NameOf(h) == s->name) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND Find(const char* cls, const char* title) {
  FindState s{cls, title, nullptr};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

BOOL CALLBACK PrintMonitor(HMONITOR m, HDC, LPRECT, LPARAM) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoA(m, &info);
  const RECT& r = info.rcMonitor;
  std::printf("%ld,%ld,%ld,%ld|%d\n", r.left, r.top, r.right, r.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
  return TRUE;
}

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(h, m, w, l);
}

int Usage() {
  std::fprintf(stderr, "usage: wintool find|wait|gone|tree|top|named|text|prop|settext|click|post|send|close|parent|hold|lbitems|monitors|client|dpi|redisplay ...\n");
  return 2;
}

}  // namespace

int Run(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string cmd = argv[1];
  if ((cmd == "find") && argc >= 3) {
    HWND h = Find(argv[2], argc > 3 ? argv[3] : nullptr);
    if (!h) return 1;
    std::printf("%lld\n", FromHwnd(h));
    return 0;
  }
  if (cmd == "wait" && argc >= 4) {
    DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(argv[3]));
    for (;;) {
      HWND h = Find(argv[2], argc > 4 ? argv[4] : nullptr);
      if (h) {
        std::printf("%lld\n", FromHwnd(h));
        return 0;
      }
      if (static_cast<LONG>(GetTickCount() - end) > 0) return 1;
      Sleep(50);
    }
  }
  if (cmd == "gone" && argc >= 4) {
    DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(argv[3]));
    while (Find(argv[2], nullptr)) {
      if (static_cast<LONG>(GetTickCount() - end) > 0) return 1;
      Sleep(50);
    }
    return 0;
  }
  if (cmd == "tree" && argc >= 3) {
    HWND h = ToHwnd(argv[2]);
    if (!IsWindow(h)) return 1;
    PrintLine(h);
    EnumChildWindows(h, PrintChild, 0);
    return 0;
  }
  if (cmd == "top") {
    EnumWindows(PrintTop, 0);
    return 0;
  }
  if (cmd == "named" && argc >= 4) {
    NameState s{argv[3], nullptr};
    EnumChildWindows(ToHwnd(argv[2]), FindNamed, reinterpret_cast<LPARAM>(&s));
    if (!s.found) return 1;
    std::printf("%lld\n", FromHwnd(s.found));
    return 0;
  }
  if (cmd == "text" && argc >= 3) {
    std::printf("%s\n", TextOf(ToHwnd(argv[2])).c_str());
    return 0;
  }
  // The text of a window as UTF-16 in hex: names the code page cannot hold survive.
  if (cmd == "widetext" && argc >= 3) {
    wchar_t text[1024] = {};
    GetWindowTextW(ToHwnd(argv[2]), text, 1024);
    for (const wchar_t* c = text; *c; ++c) std::printf("%04x", static_cast<unsigned>(*c));
    std::printf("\n");
    return 0;
  }
  if (cmd == "prop" && argc >= 4) {  // a window property's value, 0 when it has none
    std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(GetPropA(ToHwnd(argv[2]), argv[3]))));
    return 0;
  }
  if (cmd == "settext" && argc >= 4) {
    SendMessageA(ToHwnd(argv[2]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
    return 0;
  }
  if (cmd == "click" && argc >= 3) {
    PostMessageA(ToHwnd(argv[2]), BM_CLICK, 0, 0);
    return 0;
  }
  if ((cmd == "post" || cmd == "send") && argc >= 6) {
    UINT m = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
    WPARAM w = static_cast<WPARAM>(std::strtoull(argv[4], nullptr, 0));
    LPARAM l = static_cast<LPARAM>(std::strtoll(argv[5], nullptr, 0));
    if (cmd == "post") return PostMessageA(ToHwnd(argv[2]), m, w, l) ? 0 : 1;
    std::printf("%lld\n", static_cast<long long>(SendMessageA(ToHwnd(argv[2]), m, w, l)));
    return 0;
  }
  if (cmd == "close" && argc >= 3) {
    PostMessageA(ToHwnd(argv[2]), WM_CLOSE, 0, 0);
    return 0;
  }
  if (cmd == "lbitems" && argc >= 3) {
    HWND h = ToHwnd(argv[2]);
    int n = static_cast<int>(SendMessageA(h, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      // Wine answers an ANSI LB_GETTEXT from another process in UTF-16:
      // ask for Unicode and convert to the ANSI code page here.
      // Room for what the list box reports (bytes, for an ANSI one).
      const LRESULT length = SendMessageW(h, LB_GETTEXTLEN, i, 0);
      std::wstring wide(length >= 0 && length < 65536 ? length + 1 : 1, L'\0');
      if (wide.size() > 1) SendMessageW(h, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
      std::string buf(wide.size() * 2 + 1, '\0');
      WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &buf[0], static_cast<int>(buf.size()), nullptr, nullptr);
      std::printf("%d|%s\n", SendMessageA(h, LB_GETSEL, i, 0) > 0 ? 1 : 0, buf.c_str());
    }
    return 0;
  }
  if (cmd == "parent" && argc >= 4) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = argc > 4 ? argv[4] : "GlimoraTestPreviewHost";
    RegisterClassA(&wc);
    // A stand-in task bar needs its place (it may begin off the screen, at -2).
    const int x = argc > 6 ? std::atoi(argv[5]) : 100;
    const int y = argc > 6 ? std::atoi(argv[6]) : 100;
    HWND h = CreateWindowExA(0, wc.lpszClassName, "preview host", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, x, y,
                             std::atoi(argv[2]), std::atoi(argv[3]), nullptr, nullptr, wc.hInstance, nullptr);
    std::printf("%lld\n", FromHwnd(h));
    std::fflush(stdout);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
  }
  if (cmd == "drop" && argc >= 4) {
    // What Explorer hands a window that files are dropped on: a DROPFILES
    // block with the names (wide, each ended by a zero, the list by another).
    // A memory handle of this process means nothing in another one, so the
    // block is written into the window's process: fixed global memory is
    // its own address there, which DragQueryFile reads and DragFinish frees.
    std::wstring names;
    for (int i = 3; i < argc; ++i) {
      wchar_t wide[1024] = {};
      MultiByteToWideChar(CP_ACP, 0, argv[i], -1, wide, 1024);
      names += wide;
      names += L'\0';
    }
    names += L'\0';
    std::string block(sizeof(DROPFILES) + names.size() * sizeof(wchar_t), '\0');
    auto* drop = reinterpret_cast<DROPFILES*>(&block[0]);
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    // As the shell does: the drop goes to the nearest window (the control or
    // one that holds it) that accepts files, at the control's centre.
    HWND control = ToHwnd(argv[2]);
    HWND target = control;
    while (target && !(GetWindowLongA(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) target = GetParent(target);
    if (!target) return 1;
    RECT place;
    GetWindowRect(control, &place);
    POINT centre = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    ScreenToClient(target, &centre);
    drop->pt = centre;
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    if (!written) return 1;
    return PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) ? 0 : 1;
  }
  if (cmd == "monitors") {
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    return 0;
  }
  if (cmd == "client" && argc >= 3) {
    RECT r = {};
    if (!GetClientRect(ToHwnd(argv[2]), &r)) return 1;
    std::printf("%ld,%ld\n", r.right, r.bottom);
    return 0;
  }
  if (cmd == "redisplay")
    return ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
  if (cmd == "dpi") {
    HDC screen = GetDC(nullptr);
    std::printf("%d\n", GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return 0;
  }
  if (cmd == "hold" && argc >= 3) {
    HANDLE f = CreateFileA(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
  }
  return Usage();
}

namespace {

// One command a line, its fields split by 0x1F (a byte that no Shift-JIS
// text holds); each answer ends with a line 0x1E<exit code>.
int Serve() {
  _setmode(_fileno(stdin), _O_BINARY);
  std::string line;
  for (int c = std::getchar(); c != EOF; c = std::getchar()) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    std::vector<std::string> fields{"wintool"};
    for (size_t start = 0;;) {
      size_t end = line.find('\x1f', start);
      fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    line.clear();
    std::vector<char*> argv;
    for (auto& f : fields) argv.push_back(&f[0]);
    const bool blocks = fields[1] == "parent" || fields[1] == "hold" || fields[1] == "serve";
    const int code = blocks ? Usage() : Run(static_cast<int>(argv.size()), argv.data());
    std::printf("\x1e%d\n", code);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "serve") == 0) return Serve();
  return Run(argc, argv);
}
