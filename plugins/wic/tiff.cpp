// iftiff.spi: the first page of a TIFF through the platform's imaging
// component.
#include "first_frame.h"
#include "plugin.h"
#include "tiff_order.h"

namespace {

using namespace spi;

bool Sniff(const uint8_t* head, std::size_t size) {
  return size >= 4 && ((head[0] == 'I' && head[1] == 'I' && head[2] == 42 && head[3] == 0) ||
                       (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && head[3] == 42));
}

const wic::Container kTiff = {Sniff, GUID_ContainerFormatTiff};

int Info(const Bytes& in, PictureInfo& out) { return wic::FirstFrameInfo(in, kTiff, out); }

int Picture(const Bytes& in, Dib& out, Progress& progress) {
  wic::Picture picture;
  wic::Prepared form;
  const int rc = wic::OpenPrepared(in, kTiff, picture, form);
  if (rc != kSuccess) return rc;
  if (in.data[0] == 'M' && form.layout != wic::Layout::kDirect &&
      form.layout != wic::Layout::kPbgra32 && wic::KeepsBigEndianSamples(picture.Factory()))
    form.order = wic::SampleOrder::kBigEndian;
  return wic::Render(wic::RowsOf(form.source.get()), picture.Width(), picture.Height(), form, 1,
                     out, progress);
}

}  // namespace

const spi::Plugin& spi::ThisPlugin() {
  static const Plugin plugin = {SPI_FILE_NAME " 1.0 TIFF decoder for Glimora (C) 2024 Glimora developers",
                                "*.tif;*.tiff", "TIFF", Sniff, Info, Picture, nullptr};
  return plugin;
}
