// Windows bitmap files: a 14-byte file header, then a DIB (see Dib).
#include "picture/Dib.h"
#include "picture/InvalidGraphic.h"
#include "picture/NativeFormats.h"

namespace picture {

LoadedPicture DecodeBitmapFile(const std::vector<BYTE>& bytes) {
  constexpr size_t kFileHeader = 14;
  if (bytes.size() < kFileHeader + 12 || bytes[0] != 'B' || bytes[1] != 'M')
    throw InvalidGraphic("not a bitmap file");
  const DWORD offBits = bytes[10] | bytes[11] << 8 | bytes[12] << 16 | static_cast<DWORD>(bytes[13]) << 24;
  if (offBits < kFileHeader + 12 || offBits > bytes.size()) throw InvalidGraphic("bad pixel offset");
  const Dib dib = Dib::Read(bytes.data() + kFileHeader, bytes.size() - kFileHeader,
                            bytes.data() + offBits, bytes.size() - offBits);
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
