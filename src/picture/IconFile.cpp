// Icon files: a directory of images; the largest (then the deepest) is drawn
// at its own size over kIconBackground.
#include "forms/Error.h"
#include "picture/IconDirectory.h"
#include "picture/InvalidGraphic.h"
#include "picture/NativeFormats.h"

namespace picture {

namespace {

struct IconDeleter { void operator()(HICON h) const { DestroyIcon(h); } };
using IconHandle = forms::Owned<HICON, IconDeleter>;

}  // namespace

LoadedPicture DecodeIconFile(const std::vector<BYTE>& bytes) {
  const IconImage best = ChooseIconImage(bytes.data(), bytes.size());
  IconHandle icon(CreateIconFromResourceEx(const_cast<BYTE*>(bytes.data() + best.offset), best.size, TRUE,
                                           0x00030000, best.width, best.height, LR_DEFAULTCOLOR));
  if (!icon) throw InvalidGraphic("icon rejected");
  DrawingSurface surface(best.width, best.height, kIconBackground);
  DrawIconEx(surface.Dc(), 0, 0, icon.get(), best.width, best.height, 0, nullptr, DI_NORMAL);
  return surface.Finish();
}

LoadedPicture ReadIconFile(const std::string& fileName) {
  return DecodeIconFile(ReadWholeFile(fileName));
}

}  // namespace picture
