// The background of the show: one of twelve colours, a tiled picture, or
// the desktop as it was before the saver window appeared.
#pragma once
#include <windows.h>

#include <string>

#include "forms/Bitmap.h"

class TAll_nmsg;

namespace saver {

enum BackgroundKind { kBackColour = 0, kBackImage = 1, kBackDesktop = 2 };

struct BackgroundChoice {
  int Kind = kBackColour;  // BackGround
  int Color = 0;           // BackColor
  std::string FileName;    // BackFileName
};

// Colour of a BackColor index: its low byte picks one of the twelve
// colours; any value outside 1..11 is black.
COLORREF BackColorOf(int index);

// Size of a tiled background: the smallest multiple of the tile that
// covers the client, and at least one tile.
SIZE TiledExtent(SIZE client, SIZE tile);

// Builds BackBitmap. Loads the background picture into `image` for the
// image kind; a file it cannot read, an empty picture or an unknown kind
// gives black of the client size. The desktop kind copies `desktop` (screen
// coordinates; nullptr: the primary screen).
void BuildBackBitmap(const BackgroundChoice& choice, SIZE client, TAll_nmsg& image, forms::Bitmap& back,
                     const RECT* desktop = nullptr);

}  // namespace saver
