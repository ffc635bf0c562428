// Windows bitmap files: a 14-byte file header, then a DIB (see Dib).
#include "picture/Dib.h"
#include "picture/NativeFormats.h"

namespace picture {

LoadedPicture DecodeBitmapFile(const std::vector<BYTE>& bytes) {
  const Dib dib = Dib::FromBitmapFile(bytes);
  LoadedPicture picture;
  picture.palette = dib.CreatePalette();
  // On a 256-colour display the file's own palette decides the colours.
  forms::MemoryDc reference(CreateCompatibleDC(nullptr));
  {
    forms::PaletteSelection realised(reference.get(), reference ? picture.palette.get() : nullptr);
    picture.bitmap = dib.ToBitmap(reference.get());
  }
  picture.width = dib.Width();
  picture.height = dib.Height();
  return picture;
}

LoadedPicture ReadBitmapFile(const std::string& fileName) {
  return DecodeBitmapFile(ReadWholeFile(fileName));
}

}  // namespace picture
