// The real plug-in DLLs, loaded and called the way a host calls them, and the
// pictures they return, read back as a host reads them.
#pragma once
#include <string>
#include <vector>

#include "spi.h"

namespace spitest {

// The tests name the 32-bit files; a 64-bit test program loads the 64-bit
// plug-in of the same name, whose suffix is .sph.
std::string OfThisWidth(const char* file);

class SpiDll {
 public:
  explicit SpiDll(const char* file);  // LoadLibraryA: found next to the test program; "x.spi" is x.sph in 64 bits
  ~SpiDll();
  SpiDll(const SpiDll&) = delete;
  SpiDll& operator=(const SpiDll&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  std::string Info(int infono, int buflen = 256) const;

  spi::GetPluginInfoFn GetPluginInfo = nullptr;
  spi::IsSupportedFn IsSupported = nullptr;
  spi::GetPictureInfoFn GetPictureInfo = nullptr;
  spi::GetPictureFn GetPicture = nullptr;
  spi::GetPreviewFn GetPreview = nullptr;

 private:
  HMODULE module_;
};

// A returned DIB as top-down RGB bytes.
struct Picture {
  int rc = -99;
  BITMAPINFOHEADER header{};
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  bool handedOverUnlocked = true;  // both handles had a lock count of 0
  bool bitsBlockLargeEnough = true;
};

enum class Call { kPicture, kPreview };

// Calls GetPicture or GetPreview; on success reads and frees both handles.
Picture Decode(const SpiDll& dll, Call call, const char* buf, spi::Length len, unsigned flag,
               spi::ProgressCallback progress = nullptr, spi::UserData data = 0);
Picture DecodeFile(const SpiDll& dll, const std::string& path, spi::Length offset = 0,
                   Call call = Call::kPicture);
Picture DecodeMemory(const SpiDll& dll, const std::vector<uint8_t>& bytes,
                     Call call = Call::kPicture);

// GetPictureInfo; the text handle is read into `text` and freed.
int InfoOf(const SpiDll& dll, const char* buf, spi::Length len, unsigned flag, spi::PictureInfo& info,
           std::string* text = nullptr);

}  // namespace spitest
