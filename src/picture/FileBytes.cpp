#include <cstdint>

#include "Checked.h"
#include "forms/Error.h"
#include "picture/NativeFormats.h"

namespace picture {

namespace {
// Native image files beyond this size are refused before reading them whole.
constexpr uint64_t kMaxFileBytes = 256u * 1024 * 1024;
}

std::vector<BYTE> ReadWholeFile(const std::string& fileName) {
  forms::KernelHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();  // not a handle to close
    throw forms::Error(forms::Format("ファイル %s を開けません", fileName.c_str()));
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size))
    throw forms::Error(forms::Format("ファイル %s を読めません", fileName.c_str()));
  size_t length;
  if (!checked::Narrow(size.QuadPart, length) || length > kMaxFileBytes)
    throw forms::Error(forms::Format("ファイル %s は大きすぎて読めません", fileName.c_str()));
  std::vector<BYTE> bytes(length);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;  // a read of at most kMaxFileBytes fits a DWORD
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                  nullptr) ||
        got == 0)
      throw forms::Error(forms::Format("ファイル %s を読めません", fileName.c_str()));
    done += got;
  }
  return bytes;
}

}  // namespace picture
