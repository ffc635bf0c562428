#include "picture/PluginInput.h"

#include <algorithm>
#include <cstring>

#include "forms/WidePath.h"
#include "picture/NativeFormats.h"

namespace picture {

bool PluginInput::Open(const std::string& fileName) {
  if (fileName.find('\0') != std::string::npos) return false;
  if (forms::HoldsWide(fileName)) {
    const std::vector<BYTE> bytes = ReadWholeFile(fileName);
    bytes_.assign(bytes.begin(), bytes.end());
    bytes_.push_back('\0');  // an empty file still has a valid pointer
    memory_ = true;
    return true;
  }
  if (fileName.size() >= sizeof name_) return false;
  std::memcpy(name_, fileName.c_str(), fileName.size() + 1);
  return true;
}

char* PluginInput::Buffer(long offset) const {
  if (!memory_) return name_;
  return bytes_.data() + std::min<size_t>(offset, bytes_.size() - 1);
}

spi::Length PluginInput::Length(long offset) const {
  if (!memory_) return offset;
  return static_cast<spi::Length>(bytes_.size() - 1 - std::min<size_t>(offset, bytes_.size() - 1));
}

}  // namespace picture
