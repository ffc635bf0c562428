#include <cstring>

#include "plugin.h"

namespace spi {

HLOCAL MakeInfoText(const char* text, std::size_t length) {
  if (text == nullptr || length == 0) return nullptr;
  HLOCAL h = LocalAlloc(LMEM_FIXED, length + 1);
  if (h == nullptr) return nullptr;
  char* p = static_cast<char*>(static_cast<void*>(h));
  std::memcpy(p, text, length);
  p[length] = '\0';
  return h;
}

}  // namespace spi
