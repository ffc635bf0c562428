// Text-to-integer conversion of the settings file and of the dialogs' edits:
// optional leading blanks, optional sign, decimal digits or "$" and
// hexadecimal digits; nothing may follow.
#pragma once
#include <string>

namespace settings {

bool TryStrToInt(const std::string& text, int& value);
int StrToIntDef(const std::string& text, int fallback);
// Raises forms::Error "'%s' は整数ではありません" for text that does not convert.
int StrToInt(const std::string& text);

}  // namespace settings
