// What a plug-in call reads: the file's name in the 256-byte buffer a plug-in
// gets (the interface's file input), or, for a name the code page cannot hold
// (forms/WidePath.h), the file's bytes read by the wide name and handed over
// in memory (the interface's memory input).
#pragma once
#include <string>
#include <vector>

#include "spi.h"

namespace picture {

class PluginInput {
 public:
  // False when the name does not fit the buffer whole (or holds a zero
  // byte): the plug-in would read some other file. A file named in its
  // wide form that cannot be read throws forms::Error.
  bool Open(const std::string& fileName);

  // The call's arguments for a picture that starts `offset` bytes in.
  char* Buffer(long offset) const;
  spi::Length Length(long offset) const;
  unsigned Flag() const { return memory_ ? spi::kInputMemory : spi::kInputFile; }

 private:
  mutable char name_[256] = {};
  mutable std::vector<char> bytes_;
  bool memory_ = false;
};

}  // namespace picture
