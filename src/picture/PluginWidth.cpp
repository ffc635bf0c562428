#include "picture/PluginWidth.h"

#include <windows.h>

#include "forms/FileHandle.h"

namespace picture {

namespace {

#ifdef _WIN64
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_AMD64;
#else
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_I386;
#endif

bool ReadAt(HANDLE file, LONG at, void* into, DWORD size) {
  DWORD got = 0;
  return SetFilePointer(file, at, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
         ReadFile(file, into, size, &got, nullptr) && got == size;
}

// The machine field of a PE file's header; 0 when the file is no PE file.
WORD MachineOf(const char* path) {
  forms::FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return 0;
  IMAGE_DOS_HEADER dos;
  if (!ReadAt(file.get(), 0, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
      dos.e_lfanew <= 0 || dos.e_lfanew > 0x10000)
    return 0;
  struct {
    DWORD signature;
    IMAGE_FILE_HEADER header;
  } pe;
  if (!ReadAt(file.get(), dos.e_lfanew, &pe, sizeof pe) || pe.signature != IMAGE_NT_SIGNATURE) return 0;
  return pe.header.Machine;
}

}  // namespace

PluginFit CheckPluginFile(const char* file) {
  if (GetModuleHandleA(file)) return PluginFit::Usable;
  char found[MAX_PATH];
  char* part = nullptr;
  const DWORD length = SearchPathA(nullptr, file, nullptr, MAX_PATH, found, &part);
  if (length == 0 || length >= MAX_PATH) return PluginFit::Missing;
  const WORD machine = MachineOf(found);
  // A file we cannot judge is left to LoadLibraryA to accept or refuse.
  if (machine == 0 || machine == kOwnMachine) return PluginFit::Usable;
  return PluginFit::OtherWidth;
}

const char* OtherWidthMessageFormat() {
#ifdef _WIN64
  return "%s は32ビット用のプラグインです。64ビット版のGlimoraは64ビット用(.sph)のみ使えます";
#else
  return "%s は64ビット用のプラグインです。32ビット版のGlimoraは32ビット用(.spi)のみ使えます";
#endif
}

}  // namespace picture
