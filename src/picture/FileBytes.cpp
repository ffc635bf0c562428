#include <cstdint>

#include "forms/Error.h"
#include "forms/FileHandle.h"
#include "forms/WidePath.h"
#include "picture/NativeFormats.h"

namespace picture {

namespace {
// Native image files beyond this size are refused before reading them whole.
constexpr uint64_t kMaxFileBytes = 256u * 1024 * 1024;

// A name the code page cannot hold is opened by its wide form.
forms::FileHandle Open(const std::string& fileName) {
  if (!forms::HoldsWide(fileName)) return forms::OpenForReading(fileName);
  return forms::FileHandle(CreateFileW(forms::WidePath(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}
}  // namespace

std::vector<BYTE> ReadWholeFile(const std::string& fileName) {
  forms::FileHandle file = Open(fileName);
  const std::string shown = forms::ShownPath(fileName);
  if (!file.Valid()) throw forms::Error(forms::Format("ファイル %s を開けません", shown.c_str()));
  std::vector<BYTE> bytes;
  switch (forms::ReadWhole(file.get(), bytes, kMaxFileBytes)) {
    case forms::WholeRead::Ok: return bytes;
    case forms::WholeRead::TooLarge:
      throw forms::Error(forms::Format("ファイル %s は大きすぎて読めません", shown.c_str()));
    default: throw forms::Error(forms::Format("ファイル %s を読めません", shown.c_str()));
  }
}

}  // namespace picture
