#include "library/PictureKinds.h"

#include "forms/WidePath.h"
#include "picture/PluginWidth.h"

namespace library {

namespace {

bool PluginFound(const char* file) {
  return picture::CheckPluginFile(file) == picture::PluginFit::Usable;
}

}  // namespace

const PictureKinds& PictureKinds::Installed() {
  static const PictureKinds kinds = [] {
    PictureKinds found;
    for (int k = 1; k < picture::kDecoderKinds; ++k) {
      const auto kind = static_cast<picture::Decoder>(k);
      found.readable_[k] = picture::IsNative(kind) || PluginFound(picture::PluginRowFor(kind).file);
    }
    return found;
  }();
  return kinds;
}

PictureKinds PictureKinds::All() {
  PictureKinds kinds;
  for (int k = 1; k < picture::kDecoderKinds; ++k) kinds.readable_[k] = true;
  return kinds;
}

// The name in the program's narrow form (forms/WidePath.h), so the picture
// component's one extension rule reads it.
bool PictureKinds::IsPicture(const std::wstring& fileName) const {
  const std::string extension = picture::PictureExtension(forms::NarrowName(false, fileName));
  return readable_[static_cast<int>(picture::DecoderFor(extension))];
}

}  // namespace library
