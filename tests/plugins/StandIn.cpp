// A stand-in image-decoder plug-in whose answers the test decides.
//
// Each call reads the environment variable GLIMORA_STANDIN, a list of
// key=value words:
//   info=A,B picture=A,B preview=A,B  result codes at offset 0 and 128 (default 0)
//   w=16 h=8                          full picture size (the preview is a quarter, rounded up)
//   bpp=24 clrused=0 header=40        depth (1 4 8 24 32), colour count, header size (40 108 124)
//   topdown=0                         1: negative biHeight, rows stored top first
//   xd=1 yd=1                         pixel densities reported by GetPictureInfo
//   short=0                           1: the bits block is one row shorter than the header says
// and keeps the file name it was given in GLIMORA_STANDIN_NAME.
//
// Built without the C++ runtime (see CMakeLists.txt): a DLL with the static
// MinGW runtime takes a TLS slot at every load and never gives it back, and
// the tests load these thousands of times.
// It appends "<file>:<call>@<offset>=<result>;" to GLIMORA_STANDIN_LOG.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "StandInPattern.h"
#include "spi.h"

namespace {

char control[4096];

// Reads GLIMORA_STANDIN afresh, with a blank in front for whole-word search.
void ReadControl() {
  control[0] = ' ';
  const DWORD n = GetEnvironmentVariableA("GLIMORA_STANDIN", control + 1, sizeof control - 1);
  if (n >= sizeof control - 1) control[1] = 0;
}

// Value of key in the control string; for "a,b" pairs, index picks the part.
long Setting(const char* key, long fallback, int index = 0) {
  char pattern[32];
  wsprintfA(pattern, " %s=", key);
  const char* at = std::strstr(control, pattern);
  if (!at) return fallback;
  char* end = nullptr;
  long value = std::strtol(at + std::strlen(pattern), &end, 10);
  if (index == 1) {
    if (*end != ',') return fallback;
    value = std::strtol(end + 1, &end, 10);
  }
  return value;
}

void Log(const char* call, long offset, int result) {
  static char log[8192];
  DWORD n = GetEnvironmentVariableA("GLIMORA_STANDIN_LOG", log, sizeof log);
  if (n >= sizeof log) n = 0;
  char entry[128];
  const int length = wsprintfA(entry, "%s:%s@%ld=%d;", STANDIN_FILE, call, offset, result);
  if (n + length < sizeof log) lstrcpyA(log + n, entry);
  SetEnvironmentVariableA("GLIMORA_STANDIN_LOG", log);
}

// Keeps the file name the host handed over, for the test to compare.
void Received(const char* name) { SetEnvironmentVariableA("GLIMORA_STANDIN_NAME", name); }

int ResultFor(const char* key, long offset) { return static_cast<int>(Setting(key, 0, offset == 128 ? 1 : 0)); }

// A zero-filled movable block, locked; the caller unlocks it.
HLOCAL Block(size_t bytes, BYTE** data) {
  HLOCAL h = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, bytes);
  *data = static_cast<BYTE*>(LocalLock(h));
  return h;
}

// Builds the DIB of the pattern at width x height as two LocalAlloc blocks.
void MakeDib(int width, int height, HANDLE* header, HANDLE* bits) {
  const int bpp = static_cast<int>(Setting("bpp", 24));
  const int headerSize = static_cast<int>(Setting("header", 40));
  const bool topDown = Setting("topdown", 0) != 0;
  const int colors = bpp <= 8 ? static_cast<int>(Setting("clrused", 0)) : 0;
  const int tableSize = bpp <= 8 ? (colors ? colors : 1 << bpp) : 0;

  BYTE* info;
  *header = Block(headerSize + tableSize * 4, &info);
  BITMAPINFOHEADER h = {};
  h.biSize = headerSize;
  h.biWidth = width;
  h.biHeight = topDown ? -height : height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bpp);
  h.biCompression = BI_RGB;
  h.biClrUsed = colors;
  std::memcpy(info, &h, sizeof h);
  for (int i = 0; i < tableSize; ++i) {
    const RGBQUAD q = standin::PaletteEntry(i);
    std::memcpy(info + headerSize + i * 4, &q, 4);
  }
  LocalUnlock(*header);

  const int stride = (width * bpp + 31) / 32 * 4;
  const size_t size = static_cast<size_t>(stride) * height;
  BYTE* data;
  *bits = Block(Setting("short", 0) ? size - stride : size, &data);
  for (int y = 0; y < height; ++y) {
    const int stored = topDown ? y : height - 1 - y;
    if (static_cast<size_t>(stored + 1) * stride > LocalSize(*bits)) continue;
    BYTE* row = data + stored * stride;
    for (int x = 0; x < width; ++x) {
      if (bpp <= 8) {
        const int index = standin::PatternIndex(x, y, tableSize);
        const int bit = x * bpp;
        row[bit / 8] |= static_cast<BYTE>(index << (8 - bpp - bit % 8));
      } else {
        const COLORREF c = standin::PatternColor(bpp, 0, x, y);
        BYTE* p = row + x * (bpp / 8);
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
      }
    }
  }
  LocalUnlock(*bits);
}

int Decode(const char* name, const char* call, long offset, HANDLE* header, HANDLE* bits, bool preview) {
  ReadControl();
  Received(name);
  const int result = ResultFor(call, offset);
  Log(call, offset, result);
  if (result != 0) return result;
  int width = static_cast<int>(Setting("w", 16)), height = static_cast<int>(Setting("h", 8));
  if (preview) {
    width = (width + 3) / 4;
    height = (height + 3) / 4;
  }
  MakeDib(width, height, header, bits);
  return 0;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

__declspec(dllexport) int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
  const char* text = infono == 0 ? "00IN" : infono == 1 ? "Glimora test stand-in" : nullptr;
  if (!text || buflen <= 0) return 0;
  lstrcpynA(buf, text, buflen);
  return lstrlenA(buf);
}

__declspec(dllexport) int WINAPI IsSupported(LPSTR, DWORD) { return 1; }

__declspec(dllexport) int WINAPI GetPictureInfo(LPSTR buf, long len, unsigned int, spi::PictureInfo* info) {
  ReadControl();
  Received(buf);
  const int result = ResultFor("info", len);
  Log("info", len, result);
  if (result != 0) return result;
  std::memset(info, 0, sizeof *info);
  info->width = Setting("w", 16);
  info->height = Setting("h", 8);
  info->x_density = static_cast<WORD>(Setting("xd", 1));
  info->y_density = static_cast<WORD>(Setting("yd", 1));
  info->colorDepth = static_cast<short>(Setting("bpp", 24));
  static const char text[] = "stand-in comment";
  BYTE* data;
  info->hInfo = Block(sizeof text, &data);
  std::memcpy(data, text, sizeof text);
  LocalUnlock(info->hInfo);
  return 0;
}

#ifndef STANDIN_NO_PREVIEW
__declspec(dllexport) int WINAPI GetPreview(LPSTR buf, long len, unsigned int, HANDLE* header,
                                            HANDLE* bits, spi::ProgressCallback, long) {
  return Decode(buf, "preview", len, header, bits, true);
}
#endif

__declspec(dllexport) int WINAPI GetPicture(LPSTR buf, long len, unsigned int, HANDLE* header,
                                            HANDLE* bits, spi::ProgressCallback, long) {
  return Decode(buf, "picture", len, header, bits, false);
}

}  // extern "C"
