#include "retro_plugin.h"

#include <algorithm>
#include <cstring>

#include "Checked.h"

namespace spi {
namespace {

// The decoders sniff a head of at least kHeadSize bytes, zero-padded.
bool Recognised(const retro::Format& format, const Bytes& in) {
  uint8_t head[kHeadSize] = {};
  if (in.size > 0) std::memcpy(head, in.data, std::min<std::size_t>(in.size, sizeof head));
  return format.sniff(head, sizeof head);
}

int Decode(const retro::Format& format, const Bytes& in, retro::Image& image, bool headerOnly,
           Progress& progress) {
  if (!Recognised(format, in)) return kUnknownFormat;
  const retro::Progress report = [&progress](int done, int total) {
    return progress.Report(done, total);
  };
  return format.decode(in.data, in.size, image, headerOnly, report);
}

}  // namespace

int ImageToDib(const retro::Image& image, Dib& dib) {
  const int w = image.width, h = image.height;
  if (w <= 0 || h <= 0) return kBrokenData;
  if (!WithinLimits(w, h, 24)) return kNoMemory;
  const std::size_t pixel = image.indexed ? 1 : 3;
  std::size_t rowBytes, bytes;
  if (!checked::Mul(w, pixel, rowBytes) || !checked::Mul(rowBytes, h, bytes) ||
      image.pixels.size() != bytes)
    return kBrokenData;
  if (image.indexed && (image.palette.empty() || image.palette.size() > 256)) return kBrokenData;

  const int colours = image.indexed ? static_cast<int>(image.palette.size()) : 0;
  const int rc = dib.Create(w, h, image.indexed ? 8 : 24, colours);
  if (rc != kSuccess) return rc;
  for (int i = 0; i < colours; ++i) dib.SetColour(i, image.palette[i]);
  for (int y = 0; y < h; ++y) {
    const uint8_t* from = image.pixels.data() + rowBytes * y;
    uint8_t* to = dib.Row(y);
    if (!image.indexed) {
      std::memcpy(to, from, rowBytes);
      continue;
    }
    // An index past the palette would show whatever GDI finds there: use 0.
    for (int x = 0; x < w; ++x) to[x] = from[x] < colours ? from[x] : 0;
  }
  return kSuccess;
}

bool RetroSniff(const retro::Format& format, const uint8_t* head, std::size_t size) {
  return size >= static_cast<std::size_t>(kHeadSize) && format.sniff(head, size);
}

int RetroInfo(const retro::Format& format, const Bytes& in, PictureInfo& out) {
  retro::Image image;
  Progress none(nullptr, 0);
  const int rc = Decode(format, in, image, true, none);
  if (rc != kSuccess) return rc;
  out.width = image.width;
  out.height = image.height;
  const bool square = image.xDensity == 0 || image.yDensity == 0;
  out.x_density = square ? 1 : image.xDensity;
  out.y_density = square ? 1 : image.yDensity;
  out.colorDepth = static_cast<short>(image.depth);
  out.hInfo = MakeInfoText(image.comment.data(), image.comment.size());
  return kSuccess;
}

int RetroPicture(const retro::Format& format, const Bytes& in, Dib& out, Progress& progress) {
  retro::Image image;
  const int rc = Decode(format, in, image, false, progress);
  if (rc != kSuccess) return rc;
  return ImageToDib(image, out);
}

}  // namespace spi
