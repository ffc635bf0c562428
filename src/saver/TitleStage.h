// The title stage: one title line drawn over the background, ready for the
// masked fade. White is the key colour: every pixel of the rendered text
// that is exactly white counts as background.
#pragma once
#include <windows.h>

#include "saver/Sequencer.h"
#include "forms/Bitmap.h"

namespace saver {

// The rectangle of a size centred in the client (division toward zero).
RECT CenteredRect(SIZE client, SIZE size);

// Measures the line in its font, centres it in the client and builds the
// stage from `back` under that rectangle. An empty text gives an empty
// stage (the fade then draws nothing).
void BuildTitleStage(const TitleLine& line, HDC back, SIZE client, forms::Bitmap& stage, RECT& rect);

}  // namespace saver
