// The title overlay: one title line drawn over the background, ready for the
// masked fade. White is the key colour: every pixel of the rendered text
// that is exactly white counts as background, so the text itself is never
// drawn in pure white.
#pragma once
#include <windows.h>

#include "saver/Sequencer.h"
#include "forms/Bitmap.h"

namespace saver {

// The rectangle of a size centred in an area (division toward zero).
RECT CenteredInArea(const RECT& area, SIZE size);

// Measures the line in its font, centres it in `area` of the client (the
// window's monitor) and builds the overlay from `back` under that
// rectangle. An empty text gives an empty overlay (the fade then draws nothing).
void BuildTitleOverlay(const TitleLine& line, HDC back, const RECT& area, forms::Bitmap& overlay, RECT& rect);

}  // namespace saver
