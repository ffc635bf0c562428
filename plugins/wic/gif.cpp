// ifgif.spi: the first frame of a GIF through the platform's imaging
// component, placed on its logical screen. Transparent pixels and the part of
// the screen the frame leaves uncovered show black.
#include <cstring>

#include "first_frame.h"
#include "plugin.h"

namespace {

using namespace spi;

bool Sniff(const uint8_t* head, std::size_t size) {
  return size >= 6 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0);
}

// Where the first frame sits: the canvas size, its offset and transparency.
struct Placement {
  UINT canvasWidth = 0, canvasHeight = 0;
  UINT left = 0, top = 0;
  int transparent = -1;  // palette index, or -1
};

Placement PlacementOf(const wic::Picture& picture) {
  Placement p;
  p.canvasWidth = picture.Width();
  p.canvasHeight = picture.Height();
  wic::Com<IWICMetadataQueryReader> screen, frame;
  ULONG sw = 0, sh = 0, left = 0, top = 0, flag = 0, index = 0;
  if (SUCCEEDED(picture.Frame()->GetMetadataQueryReader(frame.put()))) {
    if (wic::QueryNumber(frame.get(), L"/grctlext/TransparencyFlag", flag) && flag &&
        wic::QueryNumber(frame.get(), L"/grctlext/TransparentColorIndex", index) && index < 256)
      p.transparent = static_cast<int>(index);
    wic::QueryNumber(frame.get(), L"/imgdesc/Left", left);
    wic::QueryNumber(frame.get(), L"/imgdesc/Top", top);
  }
  if (SUCCEEDED(picture.Decoder()->GetMetadataQueryReader(screen.put())) &&
      wic::QueryNumber(screen.get(), L"/logscrdesc/Width", sw) &&
      wic::QueryNumber(screen.get(), L"/logscrdesc/Height", sh) &&
      left + picture.Width() <= sw && top + picture.Height() <= sh) {
    p.canvasWidth = sw;
    p.canvasHeight = sh;
    p.left = left;
    p.top = top;
  }
  return p;
}

// The palette index that paints black: the transparent one (made black), a
// spare entry added for it, or the darkest colour of a full palette.
int BlackIndex(std::vector<uint32_t>& palette, int transparent) {
  if (transparent >= 0) {
    if (palette.size() <= static_cast<std::size_t>(transparent)) palette.resize(transparent + 1, 0);
    palette[transparent] = 0;
    return transparent;
  }
  if (palette.size() < 256) {
    palette.push_back(0);
    return static_cast<int>(palette.size() - 1);
  }
  int darkest = 0;
  unsigned best = ~0u;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const uint32_t c = palette[i];
    const unsigned sum = (c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF);
    if (sum < best) best = sum, darkest = static_cast<int>(i);
  }
  return darkest;
}

const wic::Container kGif = {Sniff, GUID_ContainerFormatGif};

int Info(const Bytes& in, PictureInfo& out) {
  wic::Picture picture;
  const int rc = picture.Open(in, kGif);
  if (rc != kSuccess) return rc;
  const Placement place = PlacementOf(picture);
  out.width = static_cast<long>(place.canvasWidth);
  out.height = static_cast<long>(place.canvasHeight);
  picture.Densities(out.x_density, out.y_density);
  out.colorDepth = 8;
  return kSuccess;
}

int Picture(const Bytes& in, Dib& out, Progress& progress) {
  wic::Picture picture;
  wic::Prepared form;
  int rc = wic::OpenPrepared(in, kGif, picture, form);
  if (rc != kSuccess) return rc;
  if (form.bitCount != 8) return kBrokenData;
  const Placement place = PlacementOf(picture);
  const int black = BlackIndex(form.palette, place.transparent);
  rc = out.Create(static_cast<int>(place.canvasWidth), static_cast<int>(place.canvasHeight), 8,
                  static_cast<int>(form.palette.size()));
  if (rc != kSuccess) return rc;
  for (std::size_t i = 0; i < form.palette.size(); ++i)
    out.SetColour(static_cast<int>(i), form.palette[i]);
  for (int y = 0; y < out.Height(); ++y) std::memset(out.Row(y), black, out.Width());

  const UINT w = picture.Width(), h = picture.Height();
  std::vector<BYTE> row(w);
  for (UINT y = 0; y < h; ++y) {
    if (y % 64 == 0 && progress.Report(static_cast<int>(y), static_cast<int>(h))) return kAborted;
    const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(w), 1};
    const HRESULT hr = form.source->CopyPixels(&rect, w, w, row.data());
    if (FAILED(hr)) return wic::CodeOf(hr);
    BYTE* to = out.Row(static_cast<int>(place.top + y)) + place.left;
    for (UINT x = 0; x < w; ++x)
      if (row[x] != place.transparent) to[x] = row[x];
  }
  return progress.Report(static_cast<int>(h), static_cast<int>(h)) ? kAborted : kSuccess;
}

}  // namespace

const spi::Plugin& spi::ThisPlugin() {
  static const Plugin plugin = {SPI_FILE_NAME " 1.0 GIF decoder for Glimora (C) 2024 Glimora developers",
                                "*.gif", "GIF", Sniff, Info, Picture, nullptr};
  return plugin;
}
