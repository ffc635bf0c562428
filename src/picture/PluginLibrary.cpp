#include "picture/PluginLibrary.h"

#include <mutex>

#include "picture/PluginText.h"
#include "picture/PluginWidth.h"

namespace picture {

namespace {

template <class Fn>
Fn Entry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

// Set once for the process rather than saved and restored around each load:
// two threads doing that can interleave and leave the wrong mode behind.
HMODULE LoadPluginModule(const char* file) {
  static std::once_flag quiet;
  std::call_once(quiet, [] { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); });
  if (CheckPluginFile(file) == PluginFit::OtherWidth) return nullptr;
  return LoadLibraryA(file);
}

PluginLibrary::PluginLibrary(const char* file, StopCheck stop) : stop_(std::move(stop)) {
  HMODULE module = LoadPluginModule(file);
  // 32 or less is a failure code of old; compared unsigned so that a
  // library mapped above 2 GB is not taken for one.
  if (reinterpret_cast<UINT_PTR>(module) > 32) module_.reset(module);
}

bool PluginLibrary::Find(bool needInfo) {
  if (!module_) return false;
  picture_ = Entry<spi::GetPictureFn>(module_.get(), "GetPicture");
  info_ = Entry<spi::GetPictureInfoFn>(module_.get(), "GetPictureInfo");
  preview_ = Entry<spi::GetPreviewFn>(module_.get(), "GetPreview");
  return picture_ && (info_ || !needInfo);
}

// The block's own size bounds the text: a plug-in may leave out the NUL.
// The plug-in allocated it with LocalAlloc (fixed or movable), so it goes
// back with LocalFree in either width.
int PluginLibrary::Info(const PluginInput& in, long offset, spi::PictureInfo& info, std::string* text) const {
  info = spi::PictureInfo();
  const int result = info_(in.Buffer(offset), in.Length(offset), in.Flag(), &info);
  if (info.hInfo) {
    if (text && result == 0) {
      if (const void* block = LocalLock(info.hInfo)) {
        *text = InfoTextOf(block, LocalSize(info.hInfo));
        LocalUnlock(info.hInfo);
      }
    }
    LocalFree(info.hInfo);
  }
  info.hInfo = nullptr;
  return result;
}

// A non-zero answer asks the plug-in to stop.
int WINAPI PluginLibrary::Progress(int, int, spi::UserData data) {
  const auto* stop = reinterpret_cast<const StopCheck*>(data);
  return (*stop)() ? 1 : 0;
}

int PluginLibrary::Picture(const PluginInput& in, long offset, HANDLE* header, HANDLE* bits) const {
  const spi::UserData stop = reinterpret_cast<spi::UserData>(&stop_);
  return picture_(in.Buffer(offset), in.Length(offset), in.Flag(), header, bits, stop_ ? Progress : nullptr,
                  stop_ ? stop : 0);
}

int PluginLibrary::Preview(const PluginInput& in, long offset, HANDLE* header, HANDLE* bits) const {
  const spi::UserData stop = reinterpret_cast<spi::UserData>(&stop_);
  return preview_(in.Buffer(offset), in.Length(offset), in.Flag(), header, bits, stop_ ? Progress : nullptr,
                  stop_ ? stop : 0);
}

void PluginDib::Free() {
  if (bits_) GlobalFree(bits_);
  if (header_) GlobalFree(header_);
  header_ = bits_ = nullptr;
}

}  // namespace picture
