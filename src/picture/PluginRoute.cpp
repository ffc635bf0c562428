#include "picture/PluginRoute.h"

#include <cstring>
#include <optional>
#include <utility>

#include "forms/Error.h"
#include "forms/Gdi.h"
#include "picture/Display.h"
#include "picture/PluginLibrary.h"
#include "picture/PluginWidth.h"

namespace picture {

namespace {

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

#ifdef _WIN64
constexpr char kMissingSuffix[] = ".SPH";
#else
constexpr char kMissingSuffix[] = ".SPI";
#endif

long Quarter(long side) { return side / 4 + (side % 4 ? 1 : 0); }

bool IsRetro(Decoder kind) {
  return kind == Decoder::Pic || kind == Decoder::Pic2 || kind == Decoder::Mag ||
         kind == Decoder::Xld4 || kind == Decoder::Pi;
}

// GetPictureInfo at offset 0, then at 128 for files with a 128-byte prefix.
int InfoAt(const PluginLibrary& plugin, const PluginInput& name, long& offset, spi::PictureInfo& info,
           std::string* text = nullptr) {
  offset = 0;
  const int result = plugin.Info(name, offset, info, text);
  if (result == 0) return result;
  offset = 128;
  return plugin.Info(name, offset, info, text);
}

// The handed-over DIB as a display bitmap of its own size. With ownPalette,
// on a 256-colour display a paletted picture's colours go into a palette of
// its own that the transfer maps to.
PluginOutcome Transfer(const PluginDib& dib, HDC canvas, bool ownPalette) {
  PluginOutcome outcome;
  try {
    dib.WithDib([&](const Dib& d) {
      std::optional<forms::PaletteSelection> selected;
      if (ownPalette && d.Header().biBitCount <= 8 && ScreenBitsPerPixel() == 8) {
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
  return outcome;
}

// A JPEG whose information was read at `offset`: the preview or the full picture.
PluginOutcome DecodeJpegAt(const PluginLibrary& plugin, const PluginInput& name, long offset,
                           const spi::PictureInfo& info, bool preview, HDC canvas) {
  // The full size must be sane even for the preview, whose size follows it.
  if (info.width <= 0 || info.height <= 0 || info.width > 65535 || info.height > 65535)
    return Failure(kBadPluginPicture);
  if (!preview && !UsableSize(info.width, info.height)) return Failure(kBadPluginPicture);

  PluginDib dib;
  const int result = preview ? plugin.Preview(name, offset, dib.HeaderSlot(), dib.BitsSlot())
                             : plugin.Picture(name, offset, dib.HeaderSlot(), dib.BitsSlot());
  if (result != 0) return Failure(result);
  PluginOutcome outcome = Transfer(dib, canvas, false);
  outcome.orgWidth = info.width;
  outcome.orgHeight = info.height;
  return outcome;
}

// Retro formats store non-square pixels: stretch along the denser axis. When
// the densities cannot be had (no information entry, a failed call, a
// density of 0) or the result would be absurdly large, the picture is shown
// as decoded.
void CorrectAspect(const PluginLibrary& plugin, const PluginInput& name, LoadedPicture& picture) {
  spi::PictureInfo info;
  if (!plugin.HasInfo() || plugin.Info(name, 0, info) != 0) return;
  const unsigned x = info.x_density, y = info.y_density;
  if ((x == 1 && y == 1) || x == 0 || y == 0) return;
  long long width = picture.width, height = picture.height;
  if (x < y)
    width = width * y / x;
  else
    height = height * x / y;
  if (!UsableSize(width, height)) return;

  LoadedPicture stretched;
  stretched.width = static_cast<int>(width);
  stretched.height = static_cast<int>(height);
  {
    forms::Bitmap source, target;
    source.Adopt(picture.bitmap.release());
    target.Adopt(CreateDisplayBitmap(stretched.width, stretched.height).release());
    if (source.Empty() || target.Empty()) throw forms::Error("描画用のメモリーが不足しています");
    source.UsePalette(picture.palette.get());
    target.UsePalette(picture.palette.get());
    forms::StretchMode mode(target.Dc(), COLORONCOLOR);
    StretchBlt(target.Dc(), 0, 0, stretched.width, stretched.height, source.Dc(), 0, 0, picture.width,
               picture.height, SRCCOPY);
    target.UsePalette(nullptr);  // the palette goes on with the picture
    source.UsePalette(nullptr);
    stretched.bitmap = target.Release();
  }
  stretched.palette = std::move(picture.palette);
  picture = std::move(stretched);
}

PluginOutcome DecodeOther(Decoder kind, const PluginLibrary& plugin, const PluginInput& name, bool preview,
                          HDC canvas) {
  const auto call = [&](long offset, PluginDib& dib) {
    return preview ? plugin.Preview(name, offset, dib.HeaderSlot(), dib.BitsSlot())
                   : plugin.Picture(name, offset, dib.HeaderSlot(), dib.BitsSlot());
  };
  PluginDib dib;
  int result = call(0, dib);
  if (result == spi::kUnknownFormat) {
    dib.Free();
    result = call(128, dib);
  }
  if (result != 0) return Failure(result);
  PluginOutcome outcome = Transfer(dib, canvas, true);
  dib.Free();
  if (outcome.error == 0 && IsRetro(kind)) CorrectAspect(plugin, name, outcome.picture);
  return outcome;
}

// The quarter-size preview serves a target when it still covers the
// picture's size fitted to the target, that is when the picture is four
// times the target or more in its limiting direction; and whenever the full
// picture is too large to hold but the quarter is not.
bool PreviewServes(long width, long height, int targetWidth, int targetHeight) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return false;
  if (!UsableSize(width, height)) return UsableSize(Quarter(width), Quarter(height));
  return targetWidth > 0 && targetHeight > 0 &&
         (4LL * targetWidth <= width || 4LL * targetHeight <= height);
}

// The row's plug-in and what it reads (PluginInput.h); a failure outcome
// when either cannot be had.
struct Opened {
  std::optional<PluginOutcome> failure;
  PluginInput name;
};

void Open(const PluginRow& row, PluginLibrary& plugin, const std::string& fileName,
          bool needPreview, Opened& out) {
  if (!plugin.Find(row.allEntries) || (needPreview && !plugin.HasPreview())) {
    const std::string message =
        CheckPluginFile(row.file) == PluginFit::OtherWidth
            ? forms::Format(OtherWidthMessageFormat(), row.file)
            : std::string("IF") + row.format + kMissingSuffix + " not found";
    out.failure = Failure(kPluginMissing, message.c_str());
    return;
  }
  if (!out.name.Open(fileName)) out.failure = Failure(kNameTooLong);
}

}  // namespace

PluginOutcome DecodeWithPlugin(Decoder kind, const std::string& fileName, bool preview, HDC canvas,
                               const StopCheck& stop) {
  const PluginRow& row = PluginRowFor(kind);
  PluginLibrary plugin(row.file, stop);
  Opened opened;
  const bool jpegPreview = kind == Decoder::Jpg && preview;
  Open(row, plugin, fileName, jpegPreview, opened);
  if (opened.failure) return std::move(*opened.failure);
  if (kind != Decoder::Jpg) return DecodeOther(kind, plugin, opened.name, false, canvas);
  spi::PictureInfo info;
  long offset = 0;
  const int result = InfoAt(plugin, opened.name, offset, info);
  if (result != 0) return Failure(result);
  return DecodeJpegAt(plugin, opened.name, offset, info, jpegPreview, canvas);
}

PluginOutcome DecodeForSize(Decoder kind, const std::string& fileName, int targetWidth,
                            int targetHeight, HDC canvas, const StopCheck& stop) {
  const PluginRow& row = PluginRowFor(kind);
  PluginLibrary plugin(row.file, stop);
  Opened opened;
  Open(row, plugin, fileName, false, opened);
  if (opened.failure) return std::move(*opened.failure);

  // JPEG needs its information in any case; for PIC and PIC2 it is asked
  // only to choose the preview, and a failure then means the full picture.
  spi::PictureInfo info;
  long offset = 0;
  const bool mayPreview = row.allEntries && plugin.HasPreview();
  std::string infoText;
  const int infoResult =
      kind == Decoder::Jpg || mayPreview ? InfoAt(plugin, opened.name, offset, info, &infoText) : -1;
  if (kind == Decoder::Jpg && infoResult != 0) return Failure(infoResult);
  const bool preview = mayPreview && infoResult == 0 &&
                       PreviewServes(info.width, info.height, targetWidth, targetHeight);
  PluginOutcome outcome =
      kind == Decoder::Jpg ? DecodeJpegAt(plugin, opened.name, offset, info, preview, canvas)
                           : DecodeOther(kind, plugin, opened.name, preview, canvas);
  outcome.preview = preview && outcome.error == 0;
  outcome.infoText = std::move(infoText);
  return outcome;
}

}  // namespace picture
