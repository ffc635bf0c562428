#include <cstring>

#include "Checked.h"
#include "plugin.h"

namespace spi {

HLOCAL MakeInfoText(const char* text, std::size_t length) {
  std::size_t bytes;
  if (text == nullptr || length == 0 || !checked::Add(length, 1, bytes)) return nullptr;
  HLOCAL h = LocalAlloc(LMEM_FIXED, bytes);
  if (h == nullptr) return nullptr;
  char* p = static_cast<char*>(static_cast<void*>(h));
  std::memcpy(p, text, length);
  p[length] = '\0';
  return h;
}

}  // namespace spi
