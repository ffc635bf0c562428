// The formats the program reads itself: Windows bitmaps, icons and metafiles,
// each ending up as a display-format bitmap at the picture's own size.
//
// Contents that are not a valid image of the kind raise InvalidGraphic; a
// file that cannot be opened or read raises forms::Error (a Japanese message).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Bitmap.h"
#include "forms/Gdi.h"

namespace picture {

struct LoadedPicture {
  forms::BitmapHandle bitmap;
  forms::PaletteHandle palette;  // the file's colour table, for 8 bits or fewer
  int width = 0;
  int height = 0;
};

// What shows through the transparent parts of an icon: the saver's black.
constexpr COLORREF kIconBackground = RGB(0, 0, 0);
// The paper under a metafile drawing: white, so dark line art stays visible.
constexpr COLORREF kMetafileBackground = RGB(255, 255, 255);

std::vector<BYTE> ReadWholeFile(const std::string& fileName);

LoadedPicture ReadBitmapFile(const std::string& fileName);
LoadedPicture ReadIconFile(const std::string& fileName);
LoadedPicture ReadWindowsMetafile(const std::string& fileName);
LoadedPicture ReadEnhancedMetafile(const std::string& fileName);

// Parsers over bytes already read (also what the tests feed broken data to).
LoadedPicture DecodeBitmapFile(const std::vector<BYTE>& bytes);
LoadedPicture DecodeIconFile(const std::vector<BYTE>& bytes);
LoadedPicture DecodeWindowsMetafile(const std::vector<BYTE>& bytes);
LoadedPicture DecodeEnhancedMetafile(const std::vector<BYTE>& bytes);

// A display-format bitmap of the given size filled with one colour, with a
// memory DC to draw into it (used for icons and metafiles).
class DrawingSurface {
 public:
  DrawingSurface(int width, int height, COLORREF background);
  HDC Dc() const { return canvas_.Dc(); }
  // Ends drawing and hands the bitmap over.
  LoadedPicture Finish();

 private:
  forms::Bitmap canvas_;
};

}  // namespace picture
