#include "picture/PluginLibrary.h"

#include <mutex>

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

int PluginLibrary::Info(char* name, long offset, spi::PictureInfo& info) const {
  info = spi::PictureInfo();
  const int result = info_(name, offset, 0, &info);
  if (info.hInfo) GlobalFree(info.hInfo);
  info.hInfo = nullptr;
  return result;
}

// A non-zero answer asks the plug-in to stop.
int WINAPI PluginLibrary::Progress(int, int, spi::UserData data) {
  const auto* stop = reinterpret_cast<const StopCheck*>(data);
  return (*stop)() ? 1 : 0;
}

int PluginLibrary::Picture(char* name, long offset, HANDLE* header, HANDLE* bits) const {
  if (!stop_) return picture_(name, offset, 0, header, bits, nullptr, 0);
  return picture_(name, offset, 0, header, bits, Progress, reinterpret_cast<spi::UserData>(&stop_));
}

int PluginLibrary::Preview(char* name, long offset, HANDLE* header, HANDLE* bits) const {
  if (!stop_) return preview_(name, offset, 0, header, bits, nullptr, 0);
  return preview_(name, offset, 0, header, bits, Progress, reinterpret_cast<spi::UserData>(&stop_));
}

void PluginDib::Free() {
  if (bits_) GlobalFree(bits_);
  if (header_) GlobalFree(header_);
  header_ = bits_ = nullptr;
}

}  // namespace picture
