// A plug-in DLL for one of the portable retro decoders: the decoded
// retro::Image becomes the host's DIB (8-bit with palette, or 24-bit).
#pragma once
#include "retro/image.h"
#include "plugin.h"

namespace spi {

// Copies a decoded image into dib; kBrokenData when the image is inconsistent.
int ImageToDib(const retro::Image& image, Dib& dib);

bool RetroSniff(const retro::Format& format, const uint8_t* head, std::size_t size);
int RetroInfo(const retro::Format& format, const Bytes& in, PictureInfo& out);
int RetroPicture(const retro::Format& format, const Bytes& in, Dib& out, Progress& progress);

// The Plugin record of the format that Get() returns.
template <const retro::Format& (*Get)()>
const Plugin& RetroPlugin(const char* about) {
  static const Plugin plugin = {
      about,
      Get().filter,
      Get().name,
      [](const uint8_t* head, std::size_t size) { return RetroSniff(Get(), head, size); },
      [](const Bytes& in, PictureInfo& out) { return RetroInfo(Get(), in, out); },
      [](const Bytes& in, Dib& out, Progress& p) { return RetroPicture(Get(), in, out, p); },
      nullptr,  // no preview
  };
  return plugin;
}

}  // namespace spi
