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
  HPALETTE old = nullptr;
  if (picture.palette && reference) {
    old = SelectPalette(reference.get(), picture.palette.get(), FALSE);
    RealizePalette(reference.get());
  }
  picture.bitmap = dib.ToBitmap(reference.get());
  if (old) SelectPalette(reference.get(), old, FALSE);
  picture.width = dib.Width();
  picture.height = dib.Height();
  return picture;
}

LoadedPicture ReadBitmapFile(const std::string& fileName) {
  return DecodeBitmapFile(ReadWholeFile(fileName));
}

}  // namespace picture
