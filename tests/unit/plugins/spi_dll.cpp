#include "spi_dll.h"

#include <cstring>

namespace spitest {

std::string OfThisWidth(const char* file) {
  std::string name = file;
  const size_t dot = name.rfind(".spi");
  if (sizeof(void*) == 8 && dot != std::string::npos && dot + 4 == name.size()) name.replace(dot, 4, ".sph");
  return name;
}

SpiDll::SpiDll(const char* file) : module_(LoadLibraryA(OfThisWidth(file).c_str())) {
  if (module_ == nullptr) return;
  GetPluginInfo = reinterpret_cast<spi::GetPluginInfoFn>(GetProcAddress(module_, "GetPluginInfo"));
  IsSupported = reinterpret_cast<spi::IsSupportedFn>(GetProcAddress(module_, "IsSupported"));
  GetPictureInfo =
      reinterpret_cast<spi::GetPictureInfoFn>(GetProcAddress(module_, "GetPictureInfo"));
  GetPicture = reinterpret_cast<spi::GetPictureFn>(GetProcAddress(module_, "GetPicture"));
  GetPreview = reinterpret_cast<spi::GetPreviewFn>(GetProcAddress(module_, "GetPreview"));
}

SpiDll::~SpiDll() {
  if (module_ != nullptr) FreeLibrary(module_);
}

std::string SpiDll::Info(int infono, int buflen) const {
  std::vector<char> buf(buflen + 1, '\x7f');
  const int n = GetPluginInfo(infono, buf.data(), buflen);
  if (n <= 0) return std::string();
  return std::string(buf.data(), n);
}

namespace {

bool Unlocked(HANDLE h) { return (LocalFlags(h) & LMEM_LOCKCOUNT) == 0; }

// Reads a DIB of 8 (with colour table) or 24 bits into RGB.
void ReadDib(HANDLE info, HANDLE bits, Picture& out) {
  out.handedOverUnlocked = Unlocked(info) && Unlocked(bits);
  const auto* bmi = static_cast<const BITMAPINFO*>(GlobalLock(info));
  const auto* data = static_cast<const uint8_t*>(GlobalLock(bits));
  out.header = bmi->bmiHeader;
  out.width = out.header.biWidth;
  out.height = out.header.biHeight < 0 ? -out.header.biHeight : out.header.biHeight;
  const int bpp = out.header.biBitCount;
  const size_t stride = ((static_cast<size_t>(out.width) * bpp + 31) / 32) * 4;
  out.bitsBlockLargeEnough = GlobalSize(bits) >= stride * out.height;
  if ((bpp == 8 || bpp == 24) && out.bitsBlockLargeEnough) {
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    for (int y = 0; y < out.height; ++y) {
      const int stored = out.header.biHeight > 0 ? out.height - 1 - y : y;
      const uint8_t* row = data + stride * stored;
      uint8_t* to = &out.rgb[static_cast<size_t>(y) * out.width * 3];
      for (int x = 0; x < out.width; ++x, to += 3) {
        if (bpp == 24) {
          to[0] = row[x * 3 + 2], to[1] = row[x * 3 + 1], to[2] = row[x * 3];
        } else {
          const RGBQUAD& q = bmi->bmiColors[row[x]];
          to[0] = q.rgbRed, to[1] = q.rgbGreen, to[2] = q.rgbBlue;
        }
      }
    }
  }
  GlobalUnlock(bits);
  GlobalUnlock(info);
}

std::vector<char> NameBuffer(const std::string& path) {
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  return name;
}

}  // namespace

Picture Decode(const SpiDll& dll, Call call, const char* buf, spi::Length len, unsigned flag,
               spi::ProgressCallback progress, spi::UserData data) {
  Picture out;
  HANDLE info = nullptr, bits = nullptr;
  auto fn = call == Call::kPicture ? dll.GetPicture : dll.GetPreview;
  out.rc = fn(const_cast<LPSTR>(buf), len, flag, &info, &bits, progress, data);
  if (out.rc == 0 && info != nullptr && bits != nullptr) ReadDib(info, bits, out);
  if (bits != nullptr) GlobalFree(bits);
  if (info != nullptr) GlobalFree(info);
  return out;
}

Picture DecodeFile(const SpiDll& dll, const std::string& path, spi::Length offset, Call call) {
  const std::vector<char> name = NameBuffer(path);
  return Decode(dll, call, name.data(), offset, spi::kInputFile);
}

Picture DecodeMemory(const SpiDll& dll, const std::vector<uint8_t>& bytes, Call call) {
  return Decode(dll, call, reinterpret_cast<const char*>(bytes.data()),
                static_cast<spi::Length>(bytes.size()), spi::kInputMemory);
}

int InfoOf(const SpiDll& dll, const char* buf, spi::Length len, unsigned flag, spi::PictureInfo& info,
           std::string* text) {
  std::memset(&info, 0x5A, sizeof info);
  const int rc = dll.GetPictureInfo(const_cast<LPSTR>(buf), len, flag, &info);
  if (rc == 0 && info.hInfo != nullptr) {
    if (text != nullptr) *text = static_cast<const char*>(GlobalLock(info.hInfo));
    GlobalUnlock(info.hInfo);
    GlobalFree(info.hInfo);
  }
  return rc;
}

}  // namespace spitest
