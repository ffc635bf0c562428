#include "picture/PluginRoute.h"

#include <cstring>
#include <optional>

#include "forms/Error.h"
#include "forms/Gdi.h"
#include "picture/Dib.h"
#include "picture/Display.h"
#include "picture/InvalidGraphic.h"
#include "spi.h"

namespace picture {

namespace {

template <class Fn>
Fn Entry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// One plug-in library, loaded for one load and released with this object.
class Plugin {
 public:
  explicit Plugin(const char* file) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(file);
    SetErrorMode(oldMode);
    // 32 or less is a failure code of old; compared unsigned so that a
    // library mapped above 2 GB is not taken for one.
    if (reinterpret_cast<UINT_PTR>(module) > 32) module_.reset(module);
  }

  // Looks up the entry points the row calls; false when the library is
  // missing or lacks one of them.
  bool Find(bool all) {
    if (!module_) return false;
    picture_ = Entry<spi::GetPictureFn>(module_.get(), "GetPicture");
    if (all) {
      info_ = Entry<spi::GetPictureInfoFn>(module_.get(), "GetPictureInfo");
      preview_ = Entry<spi::GetPreviewFn>(module_.get(), "GetPreview");
      return picture_ && info_ && preview_;
    }
    return picture_ != nullptr;
  }

  int Info(char* name, long offset, spi::PictureInfo& info) const {
    info = spi::PictureInfo();
    const int result = info_(name, offset, 0, &info);
    if (info.hInfo) GlobalFree(info.hInfo);  // the text is never used
    info.hInfo = nullptr;
    return result;
  }
  int Picture(char* name, long offset, HANDLE* header, HANDLE* bits) const {
    return picture_(name, offset, 0, header, bits, nullptr, 0);
  }
  int Preview(char* name, long offset, HANDLE* header, HANDLE* bits) const {
    return preview_(name, offset, 0, header, bits, nullptr, 0);
  }

 private:
  forms::ModuleHandle module_;
  spi::GetPictureInfoFn info_ = nullptr;
  spi::GetPictureFn picture_ = nullptr;
  spi::GetPreviewFn preview_ = nullptr;
};

// The two memory blocks a picture call hands over; freed bits first.
class PluginDib {
 public:
  PluginDib() = default;
  ~PluginDib() { Free(); }
  PluginDib(const PluginDib&) = delete;
  PluginDib& operator=(const PluginDib&) = delete;
  HANDLE* HeaderSlot() { return &header_; }
  HANDLE* BitsSlot() { return &bits_; }
  void Free() {
    if (bits_) GlobalFree(bits_);
    if (header_) GlobalFree(header_);
    header_ = bits_ = nullptr;
  }

  // Locks both blocks, checks the DIB against their real sizes and passes it
  // to use; both are unlocked again (bits first) before this returns.
  template <class Use>
  void WithDib(Use use) const {
    if (!header_ || !bits_) throw InvalidGraphic("no picture handed over");
    forms::GlobalLockGuard header(header_);
    forms::GlobalLockGuard bits(bits_);
    use(Dib::Read(header.get(), header.get() ? GlobalSize(header_) : 0, bits.get(),
                  bits.get() ? GlobalSize(bits_) : 0));
  }

 private:
  HANDLE header_ = nullptr;
  HANDLE bits_ = nullptr;
};

// A palette selected and realised in a DC for the guard's lifetime.
class RealizedPalette {
 public:
  RealizedPalette(HDC dc, HPALETTE palette) : dc_(dc), keptAside_(SelectPalette(dc, palette, FALSE)) {
    RealizePalette(dc);
  }
  ~RealizedPalette() {
    if (keptAside_) SelectPalette(dc_, keptAside_, FALSE);
  }
  RealizedPalette(const RealizedPalette&) = delete;
  RealizedPalette& operator=(const RealizedPalette&) = delete;

 private:
  HDC dc_;
  HPALETTE keptAside_;
};

PluginOutcome Failure(int code, const char* message = nullptr) {
  PluginOutcome outcome;
  outcome.error = code;
  outcome.message = message ? message : PluginMessage(code);
  return outcome;
}

bool UsableSize(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

int Quarter(long side) { return static_cast<int>(side / 4 + (side % 4 ? 1 : 0)); }

PluginOutcome DecodeJpeg(const Plugin& plugin, char* name, bool preview, HDC canvas) {
  spi::PictureInfo info;
  long offset = 0;
  int result = plugin.Info(name, offset, info);
  if (result != 0) {
    offset = 128;
    result = plugin.Info(name, offset, info);
  }
  if (result != 0) return Failure(result);
  if (!UsableSize(info.width, info.height)) return Failure(kBadPluginPicture);

  const int width = preview ? Quarter(info.width) : info.width;
  const int height = preview ? Quarter(info.height) : info.height;
  PluginDib dib;
  result = preview ? plugin.Preview(name, offset, dib.HeaderSlot(), dib.BitsSlot())
                   : plugin.Picture(name, offset, dib.HeaderSlot(), dib.BitsSlot());
  if (result != 0) return Failure(result);

  PluginOutcome outcome;
  outcome.picture.bitmap = CreateDisplayBitmap(width, height);
  try {
    dib.WithDib([&](const Dib& d) { d.TransferInto(outcome.picture.bitmap.get(), canvas); });
  } catch (const InvalidGraphic&) {
    return Failure(kBadPluginPicture);
  }
  outcome.picture.width = width;
  outcome.picture.height = height;
  outcome.orgWidth = info.width;
  outcome.orgHeight = info.height;
  return outcome;
}

// PIC and PIC2 store non-square pixels: stretch along the denser axis. When
// the densities cannot be had (failed call, a density of 0) or the result
// would be absurdly large, the picture is shown as decoded.
void CorrectAspect(const Plugin& plugin, char* name, LoadedPicture& picture) {
  spi::PictureInfo info;
  if (plugin.Info(name, 0, info) != 0) return;
  const unsigned x = info.x_density, y = info.y_density;
  if ((x == 1 && y == 1) || x == 0 || y == 0) return;
  long long width = picture.width, height = picture.height;
  if (x < y)
    width = width * y / x;
  else
    height = height * x / y;
  if (!UsableSize(width, height)) return;

  LoadedPicture stretched;
  stretched.bitmap = CreateDisplayBitmap(static_cast<int>(width), static_cast<int>(height));
  stretched.width = static_cast<int>(width);
  stretched.height = static_cast<int>(height);
  {
    forms::MemoryDc source(CreateCompatibleDC(nullptr)), target(CreateCompatibleDC(nullptr));
    if (!source || !target) throw forms::Error("描画用のメモリーが不足しています");
    forms::Selection sourceBitmap(source.get(), picture.bitmap.get());
    forms::Selection targetBitmap(target.get(), stretched.bitmap.get());
    std::optional<RealizedPalette> sourcePalette, targetPalette;
    if (picture.palette) {
      sourcePalette.emplace(source.get(), picture.palette.get());
      targetPalette.emplace(target.get(), picture.palette.get());
    }
    SetStretchBltMode(target.get(), COLORONCOLOR);
    StretchBlt(target.get(), 0, 0, stretched.width, stretched.height, source.get(), 0, 0,
               picture.width, picture.height, SRCCOPY);
  }
  stretched.palette = std::move(picture.palette);
  picture = std::move(stretched);
}

PluginOutcome DecodeOther(Decoder kind, const Plugin& plugin, char* name, HDC canvas) {
  PluginDib dib;
  int result = plugin.Picture(name, 0, dib.HeaderSlot(), dib.BitsSlot());
  if (result == spi::kUnknownFormat) {
    dib.Free();
    result = plugin.Picture(name, 128, dib.HeaderSlot(), dib.BitsSlot());
  }
  if (result != 0) return Failure(result);

  PluginOutcome outcome;
  try {
    dib.WithDib([&](const Dib& d) {
      // On a 256-colour display the picture's own colours go into a palette
      // that the transfer maps to.
      std::optional<RealizedPalette> selected;
      if (d.Header().biBitCount <= 8 && ScreenBitsPerPixel() == 8) {
        outcome.picture.palette = d.CreatePalette();
        outcome.paletteMade = true;
        selected.emplace(canvas, outcome.picture.palette.get());
      }
      outcome.picture.bitmap = CreateDisplayBitmap(d.Width(), d.Height());
      d.TransferInto(outcome.picture.bitmap.get(), canvas);
      outcome.picture.width = d.Width();
      outcome.picture.height = d.Height();
    });
  } catch (const InvalidGraphic&) {
    return Failure(kBadPluginPicture);
  }
  dib.Free();
  if (kind == Decoder::Pic || kind == Decoder::Pic2) CorrectAspect(plugin, name, outcome.picture);
  return outcome;
}

}  // namespace

PluginOutcome DecodeWithPlugin(Decoder kind, const std::string& fileName, bool preview, HDC canvas) {
  const PluginRow& row = PluginRowFor(kind);
  Plugin plugin(row.file);
  if (!plugin.Find(row.allEntries)) {
    const std::string message = std::string("IF") + row.format + ".SPI not found";
    return Failure(kPluginMissing, message.c_str());
  }
  // The plug-in gets a 256-byte buffer; a name that does not fit whole (or
  // holds a zero byte) would make it read some other file.
  char name[256];
  if (fileName.size() >= sizeof name || fileName.find('\0') != std::string::npos)
    return Failure(kNameTooLong);
  std::memcpy(name, fileName.c_str(), fileName.size() + 1);

  if (kind == Decoder::Jpg) return DecodeJpeg(plugin, name, preview, canvas);
  return DecodeOther(kind, plugin, name, canvas);
}

}  // namespace picture
