// The background of the show: one of twelve colours, a tiled picture, or
// the desktop as it was before the saver window appeared.
#pragma once
#include <windows.h>

#include <string>

#include "forms/Bitmap.h"
#include "picture/NativeFormats.h"

namespace saver {

enum BackgroundKind { kBackColour = 0, kBackImage = 1, kBackDesktop = 2 };

struct BackgroundChoice {
  int Kind = kBackColour;  // BackGround
  int Color = 0;           // BackColor
  std::string FileName;    // BackFileName
};

// The twelve colours in the order of the stored BackColor index, with the
// names the settings dialog lists them by.
struct BackColour {
  const char* Name;
  COLORREF Rgb;
};
constexpr int kBackColourCount = 12;
extern const BackColour kBackColours[kBackColourCount];

// Colour of a BackColor index: its low byte picks one of the twelve
// colours; any value outside 1..11 is black.
COLORREF BackColorOf(int index);

// Size of a tiled background: the smallest multiple of the tile that
// covers the client, and at least one tile.
SIZE TiledExtent(SIZE client, SIZE tile);

// Builds the back bitmap for every kind but the picture's, which is loaded
// in the background: until then it is the theme's colour. An unknown kind
// gives black of the client size. The desktop kind copies `desktop`
// (screen coordinates; nullptr: the primary screen).
void BuildBackBitmap(const BackgroundChoice& choice, SIZE client, forms::Bitmap& back,
                     const RECT* desktop = nullptr);

// The loaded background picture tiled over the client (only the part of a
// tile larger than the client that shows is kept); an empty picture gives
// black of the client size.
void TileBackBitmap(const picture::LoadedPicture& tile, SIZE client, forms::Bitmap& back);

}  // namespace saver
