// ifpng.spi: the first frame of a PNG through the platform's imaging
// component: palette, gray, colour, 16-bit samples and interlaced files, with
// transparent parts shown on black.
#include <cstring>

#include "first_frame.h"
#include "plugin.h"

namespace {

using namespace spi;

bool Sniff(const uint8_t* head, std::size_t size) {
  return size >= 8 && std::memcmp(head, "\x89PNG\r\n\x1A\n", 8) == 0;
}

const wic::Container kPng = {Sniff, GUID_ContainerFormatPng};

int Info(const Bytes& in, PictureInfo& out) { return wic::FirstFrameInfo(in, kPng, out); }

int Picture(const Bytes& in, Dib& out, Progress& progress) {
  return wic::FirstFrame(in, kPng, out, progress);
}

}  // namespace

const spi::Plugin& spi::ThisPlugin() {
  static const Plugin plugin = {SPI_FILE_NAME " 1.0 PNG decoder for Glimora (C) 2024 Glimora developers",
                                "*.png", "PNG", Sniff, Info, Picture, nullptr};
  return plugin;
}
