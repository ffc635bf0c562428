// The title stage: one title line drawn over the background, ready for the
// masked fade. White is the key colour: every pixel of the rendered text
// that is exactly white counts as background.
#pragma once
#include <windows.h>

#include "saver/Sequencer.h"
#include "forms/Bitmap.h"

namespace saver {

// The rectangle of a size centred in the client, or in an area of it
// (division toward zero).
RECT CenteredRect(SIZE client, SIZE size);
RECT CenteredInArea(const RECT& area, SIZE size);

// Measures the line in its font, centres it in the client and builds the
// stage from `back` under that rectangle. An empty text gives an empty
// stage (the fade then draws nothing).
void BuildTitleStage(const TitleLine& line, HDC back, SIZE client, forms::Bitmap& stage, RECT& rect);
// The same, centred in `area` of the client (the primary monitor).
void BuildTitleStageInArea(const TitleLine& line, HDC back, const RECT& area, forms::Bitmap& stage,
                           RECT& rect);

}  // namespace saver
