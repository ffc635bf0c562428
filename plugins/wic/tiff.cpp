// iftiff.spi: the first page of a TIFF through the platform's imaging
// component.
#include "picture.h"
#include "plugin.h"
#include "render.h"

namespace {

using namespace spi;

bool Sniff(const uint8_t* head, std::size_t size) {
  return size >= 4 && ((head[0] == 'I' && head[1] == 'I' && head[2] == 42 && head[3] == 0) ||
                       (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && head[3] == 42));
}

int Open(const Bytes& in, wic::Picture& picture) {
  if (!Sniff(in.data, in.size)) return kUnknownFormat;
  return picture.Open(in, GUID_ContainerFormatTiff);
}

int Info(const Bytes& in, PictureInfo& out) {
  wic::Picture picture;
  const int rc = Open(in, picture);
  if (rc != kSuccess) return rc;
  out.width = static_cast<long>(picture.Width());
  out.height = static_cast<long>(picture.Height());
  picture.Densities(out.x_density, out.y_density);
  out.colorDepth = static_cast<short>(picture.BitsPerPixel());
  return kSuccess;
}

int Picture(const Bytes& in, Dib& out, Progress& progress) {
  wic::Picture picture;
  int rc = Open(in, picture);
  if (rc != kSuccess) return rc;
  wic::Prepared form;
  rc = wic::Prepare(picture.Factory(), picture.Frame(), form);
  if (rc != kSuccess) return rc;
  return wic::Render(wic::RowsOf(form.source.get()), picture.Width(), picture.Height(), form, 1,
                     out, progress);
}

const Plugin kPlugin = {
    "iftiff.spi 1.0 TIFF decoder for Glimora (C) 2024 Glimora developers",
    "*.tif;*.tiff",
    "TIFF",
    Sniff,
    Info,
    Picture,
    nullptr,
};

}  // namespace

const spi::Plugin& spi::ThisPlugin() { return kPlugin; }
