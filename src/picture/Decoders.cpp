#include "picture/Decoders.h"

#include <windows.h>

#include <cstring>

#include "forms/WidePath.h"
#include "picture/PluginExtensions.h"

namespace picture {

namespace {

// The system's rule for the ANSI code page, as the path code uses it.
bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

struct ExtensionRow {
  const char* extension;
  Decoder decoder;
};

// In the order the settings dialog offers them.
const ExtensionRow kExtensions[] = {
    {".BMP", Decoder::Bmp},   {".ICO", Decoder::Ico},   {".WMF", Decoder::Wmf},
    {".EMF", Decoder::Emf},   {".JPG", Decoder::Jpg},   {".JPE", Decoder::Jpg},
    {".JPEG", Decoder::Jpg},  {".JFIF", Decoder::Jpg},  {".GIF", Decoder::Gif},
    {".TIF", Decoder::Tiff},  {".TIFF", Decoder::Tiff}, {".PNG", Decoder::Png},
    {".MAG", Decoder::Mag},   {".PI", Decoder::Pi},     {".PIC", Decoder::Pic},
    {".P2", Decoder::Pic2},   {".Q4", Decoder::Xld4},
};

}  // namespace

std::string PictureExtension(const std::string& fileName) {
  size_t dot = std::string::npos;
  // After the wide mark the name is UTF-8, whose bytes are never mistaken
  // for a separator or a dot (forms/WidePath.h).
  const size_t wide = fileName.rfind(forms::kWideMark);
  for (size_t i = wide == std::string::npos ? 0 : wide + 1; i < fileName.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(fileName[i]);
    if (wide == std::string::npos && IsLeadByte(c)) {
      ++i;  // the trail byte belongs to this character
    } else if (c == '\\' || c == ':') {
      dot = std::string::npos;
    } else if (c == '.') {
      dot = i;
    }
  }
  if (dot == std::string::npos) return std::string();
  std::string ext = fileName.substr(dot);
  // Upper-case ASCII letters only, again stepping over double-byte characters.
  for (size_t i = 0; i < ext.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(ext[i]);
    if (wide == std::string::npos && IsLeadByte(c))
      ++i;
    else if (c >= 'a' && c <= 'z')
      ext[i] = static_cast<char>(c - 'a' + 'A');
  }
  return ext;
}

Decoder DecoderFor(const std::string& upperExtension) {
  for (const ExtensionRow& row : kExtensions)
    if (upperExtension == row.extension) return row.decoder;
  if (upperExtension.size() > 1 && WicReads(upperExtension)) return Decoder::Wic;
  return Decoder::Unsupported;
}

std::string OfferedPattern() {
  std::string pattern;
  for (const ExtensionRow& row : kExtensions) {
    if (IsNative(row.decoder) && row.decoder != Decoder::Bmp) continue;
    if (!pattern.empty()) pattern += ';';
    pattern += '*';
    for (const char* c = row.extension; *c; ++c)
      pattern += static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c - 'A' + 'a' : *c);
  }
  return pattern;
}

// Plug-ins carry the suffix of their width: a 64-bit program loads only *.sph.
#ifdef _WIN64
#define PLUGIN_FILE(base) base ".sph"
#else
#define PLUGIN_FILE(base) base ".spi"
#endif

const PluginRow& PluginRowFor(Decoder d) {
  static const PluginRow kJpg = {PLUGIN_FILE("ifjpeg"), "JPG", true};
  static const PluginRow kGif = {PLUGIN_FILE("ifgif"), "GIF", false};
  static const PluginRow kTiff = {PLUGIN_FILE("iftiff"), "TIFF", false};
  static const PluginRow kPng = {PLUGIN_FILE("ifpng"), "PNG", false};
  static const PluginRow kPic = {PLUGIN_FILE("ifpic"), "PIC", true};
  static const PluginRow kPic2 = {PLUGIN_FILE("ifpic2"), "PIC2", true};
  static const PluginRow kMag = {PLUGIN_FILE("ifmag"), "MAG", false};
  static const PluginRow kXld4 = {PLUGIN_FILE("ifxld4"), "XLD4", false};
  static const PluginRow kPi = {PLUGIN_FILE("ifpi"), "PI", false};
  static const PluginRow kWic = {PLUGIN_FILE("ifwic"), "WIC", true};
  switch (d) {
    case Decoder::Jpg: return kJpg;
    case Decoder::Gif: return kGif;
    case Decoder::Tiff: return kTiff;
    case Decoder::Png: return kPng;
    case Decoder::Pic: return kPic;
    case Decoder::Pic2: return kPic2;
    case Decoder::Mag: return kMag;
    case Decoder::Xld4: return kXld4;
    case Decoder::Wic: return kWic;
    default: return kPi;
  }
}

const char* PluginFileFor(const std::string& fileName) {
  const Decoder kind = DecoderFor(PictureExtension(fileName));
  if (kind == Decoder::Unsupported || IsNative(kind)) return nullptr;
  return PluginRowFor(kind).file;
}

const char* PluginMessage(int code) {
  switch (code) {
    case 2: return "未知のフォーマット";
    case 3: return "データが壊れている";
    case 4: return "メモリーが確保出来ない";
    case 5: return "メモリーエラー";
    case 6: return "ファイルリードエラー";
    default: return "その他のエラー";
  }
}

}  // namespace picture
