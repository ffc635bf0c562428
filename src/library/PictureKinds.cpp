#include "library/PictureKinds.h"

#include <windows.h>

#include "picture/PluginWidth.h"

namespace library {

namespace {

constexpr int kKinds = static_cast<int>(picture::Decoder::Pi) + 1;

// The extension of a name, upper-cased, as the picture component spells it
// (".JPG"); empty when it has none or holds anything but ASCII.
std::string UpperExtension(const std::wstring& name) {
  const size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return std::string();
  std::string out;
  for (size_t i = dot; i < name.size(); ++i) {
    wchar_t c = name[i];
    if (c > 0x7F) return std::string();
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    out += static_cast<char>(c);
  }
  return out;
}

bool PluginFound(const char* file) {
  return picture::CheckPluginFile(file) == picture::PluginFit::Usable;
}

}  // namespace

PictureKinds PictureKinds::Installed() {
  PictureKinds kinds;
  for (int k = 1; k < kKinds; ++k) {
    const auto kind = static_cast<picture::Decoder>(k);
    kinds.readable_[k] = picture::IsNative(kind) || PluginFound(picture::PluginRowFor(kind).file);
  }
  return kinds;
}

PictureKinds PictureKinds::All() {
  PictureKinds kinds;
  for (int k = 1; k < kKinds; ++k) kinds.readable_[k] = true;
  return kinds;
}

bool PictureKinds::IsPicture(const std::wstring& fileName) const {
  const std::string extension = UpperExtension(fileName);
  if (extension.empty()) return false;
  return readable_[static_cast<int>(picture::DecoderFor(extension))];
}

}  // namespace library
