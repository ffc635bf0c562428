#include <cstdint>

#include "forms/Error.h"
#include "forms/FileHandle.h"
#include "picture/NativeFormats.h"

namespace picture {

namespace {
// Native image files beyond this size are refused before reading them whole.
constexpr uint64_t kMaxFileBytes = 256u * 1024 * 1024;
}

std::vector<BYTE> ReadWholeFile(const std::string& fileName) {
  forms::FileHandle file = forms::OpenForReading(fileName);
  if (!file.Valid()) throw forms::Error(forms::Format("ファイル %s を開けません", fileName.c_str()));
  std::vector<BYTE> bytes;
  switch (forms::ReadWhole(file.get(), bytes, kMaxFileBytes)) {
    case forms::WholeRead::Ok: return bytes;
    case forms::WholeRead::TooLarge:
      throw forms::Error(forms::Format("ファイル %s は大きすぎて読めません", fileName.c_str()));
    default: throw forms::Error(forms::Format("ファイル %s を読めません", fileName.c_str()));
  }
}

}  // namespace picture
