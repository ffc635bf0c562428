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

namespace {

// The outcome of our own readers, or nothing for plug-in kinds.
bool DecodeOwnKinds(Decoder kind, const std::string& fileName, DecodeOutcome& outcome) {
  if (kind == Decoder::Unsupported) {
    outcome.error = kUnsupportedExtension;
    outcome.message = "サポートされない拡張子";
    return true;
  }
  if (!IsNative(kind)) return false;
  try {
    outcome.picture = ReadNative(kind, fileName);
  } catch (const InvalidGraphic&) {
    outcome.error = kUnknownFormat;
    outcome.message = "未知のフォーマット";
  }
  return true;
}

DecodeOutcome FromPlugin(PluginOutcome plugin) {
  DecodeOutcome outcome;
  outcome.error = plugin.error;
  outcome.message = std::move(plugin.message);
  outcome.picture = std::move(plugin.picture);
  outcome.orgWidth = plugin.orgWidth;
  outcome.orgHeight = plugin.orgHeight;
  outcome.paletteMade = plugin.paletteMade;
  outcome.infoText = std::move(plugin.infoText);
  return outcome;
}

}  // namespace

DecodeOutcome DecodeFile(const std::string& fileName, bool preview, HDC canvas) {
  DecodeOutcome outcome;
  const Decoder kind = DecoderFor(PictureExtension(fileName));
  if (DecodeOwnKinds(kind, fileName, outcome)) return outcome;
  return FromPlugin(DecodeWithPlugin(kind, fileName, preview, canvas));
}

DecodeOutcome DecodeForArea(const std::string& fileName, SIZE area, HDC canvas, const StopCheck& stop) {
  DecodeOutcome outcome;
  const Decoder kind = DecoderFor(PictureExtension(fileName));
  if (!DecodeOwnKinds(kind, fileName, outcome))
    outcome = FromPlugin(DecodeForSize(kind, fileName, area.cx, area.cy, canvas, stop));
  if (outcome.orgWidth == 0) {
    outcome.orgWidth = outcome.picture.width;
    outcome.orgHeight = outcome.picture.height;
  }
  return outcome;
}

}  // namespace picture
