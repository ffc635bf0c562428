// One image-decoder plug-in as the picture component calls it: the library
// with its entry points, and the two memory blocks a picture call hands over.
#pragma once
#include <windows.h>

#include <string>

#include "forms/Gdi.h"
#include "picture/Dib.h"
#include "picture/InvalidGraphic.h"
#include "picture/PluginInput.h"
#include "picture/StopCheck.h"
#include "spi.h"

namespace picture {

// LoadLibraryA of a plug-in, without the system's box for a missing drive
// or file (the process's error mode is set so once, on the first call).
// A DLL of the other width (PluginWidth.h) is not loaded: null.
HMODULE LoadPluginModule(const char* file);

// Loaded for one load and released with this object.
class PluginLibrary {
 public:
  // stop (may be empty) is asked through the plug-in's progress callback.
  PluginLibrary(const char* file, StopCheck stop = StopCheck());

  // Looks up the entry points; false when the library is missing or lacks
  // GetPicture, or GetPictureInfo when `needInfo`. GetPreview is optional.
  bool Find(bool needInfo);
  bool HasInfo() const { return info_ != nullptr; }
  bool HasPreview() const { return preview_ != nullptr; }

  // The text handle is freed here; its text (PluginText.h) goes to `text`
  // when one is given.
  int Info(const PluginInput& in, long offset, spi::PictureInfo& info, std::string* text = nullptr) const;
  int Picture(const PluginInput& in, long offset, HANDLE* header, HANDLE* bits) const;
  int Preview(const PluginInput& in, long offset, HANDLE* header, HANDLE* bits) const;

 private:
  static int WINAPI Progress(int done, int total, spi::UserData data);

  forms::ModuleHandle module_;
  StopCheck stop_;
  spi::GetPictureInfoFn info_ = nullptr;
  spi::GetPictureFn picture_ = nullptr;
  spi::GetPreviewFn preview_ = nullptr;
};

// The two memory blocks a picture call hands over; freed bits first.
class PluginDib {
 public:
  PluginDib() = default;
  ~PluginDib() { Free(); }
  PluginDib(const PluginDib&) = delete;
  PluginDib& operator=(const PluginDib&) = delete;
  HANDLE* HeaderSlot() { return &header_; }
  HANDLE* BitsSlot() { return &bits_; }
  void Free();

  // Locks both blocks, checks the DIB against their real sizes and passes it
  // to use; both are unlocked again (bits first) before this returns.
  template <class Use>
  void WithDib(Use use) const {
    if (!header_ || !bits_) throw InvalidGraphic("no picture handed over");
    forms::GlobalLockGuard header(header_);
    forms::GlobalLockGuard bits(bits_);
    use(Dib::Read(header.get(), header.get() ? GlobalSize(header_) : 0, bits.get(),
                  bits.get() ? GlobalSize(bits_) : 0));
  }

 private:
  HANDLE header_ = nullptr;
  HANDLE bits_ = nullptr;
};

}  // namespace picture
