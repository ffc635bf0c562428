// The image-decoder plug-in interface ("00IN" import plug-ins), as hosts and
// plug-ins of many authors share it, in its 32-bit form (*.spi) and its
// 64-bit form (*.sph: pointer-sized lengths and callback data, a 32-byte
// PictureInfo). Used by the picture component (host side) and by our own
// plug-ins (plug-in side); the width is the compiler's.
#pragma once
#include <windows.h>

#include <cstddef>

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
#ifdef _WIN64
  BYTE padding[2];      // the 64-bit form keeps hInfo at byte 24
#endif
  HLOCAL hInfo;         // text information or NULL; the caller frees it
};
#pragma pack(pop)
#ifdef _WIN64
static_assert(sizeof(PictureInfo) == 32 && offsetof(PictureInfo, hInfo) == 24,
              "the 64-bit PictureInfo is 32 bytes, hInfo at 24");
#else
static_assert(sizeof(PictureInfo) == 26, "PictureInfo must be packed to 26 bytes");
#endif

// The file name suffix of plug-ins of this width.
#ifdef _WIN64
inline constexpr char kPluginSuffix[] = ".sph";
#else
inline constexpr char kPluginSuffix[] = ".spi";
#endif

// The byte count or file offset, and the callback's user value: `long` in
// 32 bits, pointer-sized in 64 (where `long` stays 32 bits).
typedef LONG_PTR Length;
typedef LONG_PTR UserData;

typedef int(WINAPI* ProgressCallback)(int nNum, int nDenom, UserData lData);

typedef int(WINAPI* GetPluginInfoFn)(int infono, LPSTR buf, int buflen);
// dw: a file handle when its bits above the low 16 are 0, else the file's head.
typedef int(WINAPI* IsSupportedFn)(LPSTR filename, ULONG_PTR dw);
typedef int(WINAPI* GetPictureInfoFn)(LPSTR buf, Length len, unsigned int flag, PictureInfo* info);
typedef int(WINAPI* GetPictureFn)(LPSTR buf, Length len, unsigned int flag, HANDLE* pHBInfo,
                                  HANDLE* pHBm, ProgressCallback progress, UserData lData);
typedef GetPictureFn GetPreviewFn;

// Size of the head buffer that IsSupported receives when dw is not a handle.
constexpr int kHeadSize = 2048;

}  // namespace spi
