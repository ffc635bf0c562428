// The 32-bit image-decoder plug-in interface ("00IN" import plug-ins), as
// hosts and plug-ins of many authors share it. Used by the picture component
// (host side) and by our own plug-ins (plug-in side).
#pragma once
#include <windows.h>

namespace spi {

// Result codes of GetPictureInfo, GetPicture and GetPreview.
enum Result : int {
  kNotImplemented = -1,
  kSuccess = 0,
  kAborted = 1,        // the progress callback asked to stop
  kUnknownFormat = 2,
  kBrokenData = 3,
  kNoMemory = 4,
  kMemoryError = 5,
  kFileReadError = 6,
  kWindowError = 7,    // reserved
  kInternalError = 8,
  kWriteError = 9,     // reserved
  kEndOfFile = 10,     // reserved
};

// Input selector: bits 0..2 of the flag argument.
enum InputKind : unsigned {
  kInputFile = 0,    // buf is a file name, len the offset of the picture in it
  kInputMemory = 1,  // buf points to the bytes, len is their count
};
inline unsigned InputOf(unsigned flag) { return flag & 7u; }

#pragma pack(push, 1)
struct PictureInfo {
  long left, top;       // where the picture would be placed (usually 0)
  long width, height;   // pixels
  WORD x_density;       // pixel density; equal values mean square pixels
  WORD y_density;
  short colorDepth;     // bits per pixel
  HLOCAL hInfo;         // text information or NULL; the caller frees it
};
#pragma pack(pop)
static_assert(sizeof(PictureInfo) == 26, "PictureInfo must be packed to 26 bytes");

typedef int(WINAPI* ProgressCallback)(int nNum, int nDenom, long lData);

typedef int(WINAPI* GetPluginInfoFn)(int infono, LPSTR buf, int buflen);
typedef int(WINAPI* IsSupportedFn)(LPSTR filename, DWORD dw);
typedef int(WINAPI* GetPictureInfoFn)(LPSTR buf, long len, unsigned int flag, PictureInfo* info);
typedef int(WINAPI* GetPictureFn)(LPSTR buf, long len, unsigned int flag, HANDLE* pHBInfo,
                                  HANDLE* pHBm, ProgressCallback progress, long lData);
typedef GetPictureFn GetPreviewFn;

// Size of the head buffer that IsSupported receives when dw is not a handle.
constexpr int kHeadSize = 2048;

}  // namespace spi
