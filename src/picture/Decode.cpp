#include "picture/Decode.h"

#include "picture/InvalidGraphic.h"
#include "picture/PluginRoute.h"

namespace picture {

LoadedPicture ReadNative(Decoder kind, const std::string& fileName) {
  switch (kind) {
    case Decoder::Bmp: return ReadBitmapFile(fileName);
    case Decoder::Ico: return ReadIconFile(fileName);
    case Decoder::Wmf: return ReadWindowsMetafile(fileName);
    default: return ReadEnhancedMetafile(fileName);
  }
}

DecodeOutcome DecodeFile(const std::string& fileName, bool preview, HDC canvas) {
  DecodeOutcome outcome;
  const Decoder kind = DecoderFor(PictureExtension(fileName));
  if (kind == Decoder::Unsupported) {
    outcome.error = kUnsupportedExtension;
    outcome.message = "サポートされない拡張子";
    return outcome;
  }
  if (IsNative(kind)) {
    try {
      outcome.picture = ReadNative(kind, fileName);
    } catch (const InvalidGraphic&) {
      outcome.error = kUnknownFormat;
      outcome.message = "未知のフォーマット";
    }
    return outcome;
  }
  PluginOutcome plugin = DecodeWithPlugin(kind, fileName, preview, canvas);
  outcome.error = plugin.error;
  outcome.message = std::move(plugin.message);
  outcome.picture = std::move(plugin.picture);
  outcome.orgWidth = plugin.orgWidth;
  outcome.orgHeight = plugin.orgHeight;
  outcome.paletteMade = plugin.paletteMade;
  return outcome;
}

}  // namespace picture
