// Stand-in used only while the retro decoders are not part of the build:
// every format recognises nothing, so the plug-ins answer "unknown format".
#include "retro/image.h"

namespace retro {
namespace {

bool Nothing(const uint8_t*, std::size_t) { return false; }
Status Unknown(const uint8_t*, std::size_t, Image&, bool, const Progress&) {
  return kUnknownFormat;
}
const Format kMag{"*.mag", "MAG", Nothing, Unknown};
const Format kPi{"*.pi", "Pi", Nothing, Unknown};
const Format kPic{"*.pic", "PIC", Nothing, Unknown};
const Format kPic2{"*.p2", "PIC2", Nothing, Unknown};
const Format kXld4{"*.q4", "XLD4", Nothing, Unknown};

}  // namespace

const Format& MagFormat() { return kMag; }
const Format& PiFormat() { return kPi; }
const Format& PicFormat() { return kPic; }
const Format& Pic2Format() { return kPic2; }
const Format& Xld4Format() { return kXld4; }

}  // namespace retro
