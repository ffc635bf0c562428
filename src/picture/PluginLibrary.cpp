#include "picture/PluginLibrary.h"

namespace picture {

namespace {

template <class Fn>
Fn Entry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

PluginLibrary::PluginLibrary(const char* file) {
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(file);
  SetErrorMode(oldMode);
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

int PluginLibrary::Picture(char* name, long offset, HANDLE* header, HANDLE* bits) const {
  return picture_(name, offset, 0, header, bits, nullptr, 0);
}

int PluginLibrary::Preview(char* name, long offset, HANDLE* header, HANDLE* bits) const {
  return preview_(name, offset, 0, header, bits, nullptr, 0);
}

void PluginDib::Free() {
  if (bits_) GlobalFree(bits_);
  if (header_) GlobalFree(header_);
  header_ = bits_ = nullptr;
}

}  // namespace picture
