// The five exports every plug-in DLL shares. Nothing thrown inside may cross
// into the host: each export catches everything and answers with a code.
#include <cstring>
#include <new>

#include "plugin.h"

namespace spi {
namespace {

template <class Body>
int Guarded(Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return kNoMemory;
  } catch (...) {
    return kInternalError;
  }
}

int CopyText(const char* text, LPSTR buf, int buflen) {
  if (text == nullptr || buf == nullptr || buflen <= 0) return 0;
  int n = static_cast<int>(std::strlen(text));
  if (n > buflen - 1) n = buflen - 1;
  std::memcpy(buf, text, n);
  buf[n] = '\0';
  return n;
}

int DecodeInto(LPSTR buf, Length len, unsigned flag, HANDLE* pHBInfo, HANDLE* pHBm,
               ProgressCallback callback, UserData lData,
               int (*decode)(const Bytes&, Dib&, Progress&)) {
  if (pHBInfo == nullptr || pHBm == nullptr) return kInternalError;
  *pHBInfo = nullptr;
  *pHBm = nullptr;
  Bytes in;
  int rc = ReadInput(buf, len, flag, in);
  if (rc != kSuccess) return rc;
  Progress progress(callback, lData);
  if (progress.Report(0, 1)) return kAborted;
  Dib dib;
  rc = decode(in, dib, progress);
  if (rc == kSuccess && progress.Stopped()) rc = kAborted;
  if (rc != kSuccess) return rc;
  dib.HandOver(pHBInfo, pHBm);
  return kSuccess;
}

}  // namespace
}  // namespace spi

using namespace spi;

extern "C" {

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
  return Guarded([&] {
    const Plugin& p = ThisPlugin();
    switch (infono) {
      case 0: return CopyText("00IN", buf, buflen);
      case 1: return CopyText(p.about, buf, buflen);
      case 2: return CopyText(p.filter, buf, buflen);
      case 3: return CopyText(p.formatName, buf, buflen);
      default: return 0;
    }
  });
}

int WINAPI IsSupported(LPSTR /*filename*/, ULONG_PTR dw) {
  const int rc = Guarded([&] {
    uint8_t head[kHeadSize];
    if ((dw & ~static_cast<ULONG_PTR>(0xFFFF)) == 0) {
      if (!ReadHead(reinterpret_cast<HANDLE>(dw), head)) return 0;
    } else {
      std::memcpy(head, reinterpret_cast<const void*>(dw), sizeof head);
    }
    return ThisPlugin().sniff(head, sizeof head) ? 1 : 0;
  });
  return rc == 1 ? 1 : 0;  // a caught failure means "not ours"
}

int WINAPI GetPictureInfo(LPSTR buf, Length len, unsigned int flag, PictureInfo* info) {
  return Guarded([&] {
    if (info == nullptr) return static_cast<int>(kInternalError);
    std::memset(info, 0, sizeof *info);
    Bytes in;
    const int rc = ReadInput(buf, len, flag, in);
    if (rc != kSuccess) return rc;
    return ThisPlugin().info(in, *info);
  });
}

int WINAPI GetPicture(LPSTR buf, Length len, unsigned int flag, HANDLE* pHBInfo, HANDLE* pHBm,
                      ProgressCallback lpPrgressCallback, UserData lData) {
  return Guarded([&] {
    return DecodeInto(buf, len, flag, pHBInfo, pHBm, lpPrgressCallback, lData,
                      ThisPlugin().picture);
  });
}

int WINAPI GetPreview(LPSTR buf, Length len, unsigned int flag, HANDLE* pHBInfo, HANDLE* pHBm,
                      ProgressCallback lpPrgressCallback, UserData lData) {
  return Guarded([&] {
    if (ThisPlugin().preview == nullptr) return static_cast<int>(kNotImplemented);
    return DecodeInto(buf, len, flag, pHBInfo, pHBm, lpPrgressCallback, lData,
                      ThisPlugin().preview);
  });
}

}  // extern "C"
