// Which decoder serves a file: the extension rule and the plug-in table.
#pragma once
#include <string>

namespace picture {

// Wic: an extension none of the others take that an installed decoder of
// the imaging component reads, through ifwic (PluginExtensions.h).
enum class Decoder { Unsupported, Bmp, Ico, Wmf, Emf, Jpg, Gif, Tiff, Png, Pic, Pic2, Mag, Xld4, Pi, Wic };
// How many kinds Decoder names (Wic stays the last).
constexpr int kDecoderKinds = static_cast<int>(Decoder::Wic) + 1;

// The extension of a file name: from the last "." after the last "\" or ":"
// to the end, upper-cased (ASCII a-z only); empty when there is none.
// Double-byte characters (the system's lead-byte rule) are stepped over
// whole, so a trail byte such as the 0x5C of "表" is never taken for a
// separator.
std::string PictureExtension(const std::string& fileName);

Decoder DecoderFor(const std::string& upperExtension);

// The extensions the settings dialog offers when pictures are chosen
// ("*.bmp;*.jpg;..."): those of the extension table, in its order, but for
// icons and metafiles (read, not offered). The imaging-component plug-in's
// own come after them (WicFilter).
std::string OfferedPattern();

inline bool IsNative(Decoder d) {
  return d == Decoder::Bmp || d == Decoder::Ico || d == Decoder::Wmf || d == Decoder::Emf;
}

struct PluginRow {
  const char* file;    // bare file name handed to LoadLibraryA
  const char* format;  // only for the missing-plug-in message
  bool allEntries;     // GetPictureInfo as well as GetPicture; GetPreview when asked for
};

// The row of a plug-in decoder (not for native or unsupported kinds).
const PluginRow& PluginRowFor(Decoder d);

// The plug-in file that decodes fileName, by its extension; nullptr for our
// own readers and for names no decoder takes.
const char* PluginFileFor(const std::string& fileName);

// The user's message for a plug-in result code other than 0.
const char* PluginMessage(int code);

}  // namespace picture
