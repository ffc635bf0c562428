// The settings file's text-to-integer conversions: whatever the text, the
// three entry points agree, and a converted number written back in decimal
// converts to itself.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include "forms/Error.h"
#include "settings/Convert.h"

// The program's formatter lives with its window code; the conversions only
// use it for the message of StrToInt's error.
std::string forms::Format(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  int value = 0;
  const bool ok = settings::TryStrToInt(text, value);
  if (settings::StrToIntDef(text, 12345) != (ok ? value : 12345)) __builtin_trap();
  if (settings::StrToIntDef(text, -7) != (ok ? value : -7)) __builtin_trap();
  bool threw = false;
  try {
    if (settings::StrToInt(text) != value) __builtin_trap();
  } catch (const forms::Error&) {
    threw = true;
  }
  if (threw == ok) __builtin_trap();
  if (ok) {
    int again = 0;
    if (!settings::TryStrToInt(std::to_string(value), again) || again != value) __builtin_trap();
  }
  return 0;
}
