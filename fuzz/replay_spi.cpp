// Replays fuzz corpora against a real plug-in DLL, the way the saver calls
// it: 32-bit, built by the same compiler as the shipped files, run under Wine.
//   replay_spi.exe <plug-in .spi> <folder> ...
// Each file is handed over from memory to GetPictureInfo and GetPicture; the
// name goes to standard output before the call, so a crash names its file.
// Prints the count per result code; exits 1 when a call answered something
// that is not a result code of the interface.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "spi.h"

namespace {

std::vector<char> ReadAll(const std::string& path) {
  std::vector<char> bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char chunk[65536];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
  }
  return bytes;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + "\\" + found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: replay_spi <plug-in> <folder> ...\n");
    return 2;
  }
  HMODULE dll = LoadLibraryA(argv[1]);
  if (!dll) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 2;
  }
  auto info = reinterpret_cast<spi::GetPictureInfoFn>(reinterpret_cast<void*>(GetProcAddress(dll, "GetPictureInfo")));
  auto picture = reinterpret_cast<spi::GetPictureFn>(reinterpret_cast<void*>(GetProcAddress(dll, "GetPicture")));
  std::map<int, int> counts;
  bool strange = false;
  for (int a = 2; a < argc; ++a) {
    for (const std::string& file : FilesIn(argv[a])) {
      std::printf("%s\n", file.c_str());
      std::fflush(stdout);
      std::vector<char> bytes = ReadAll(file);
      bytes.push_back(0);  // an empty file still has a valid pointer
      const spi::Length len = static_cast<spi::Length>(bytes.size() - 1);
      spi::PictureInfo pi;
      if (info(bytes.data(), len, spi::kInputMemory, &pi) == 0 && pi.hInfo) LocalFree(pi.hInfo);
      HANDLE hInfo = nullptr, hBits = nullptr;
      const int rc = picture(bytes.data(), len, spi::kInputMemory, &hInfo, &hBits, nullptr, 0);
      if (hInfo) LocalFree(hInfo);
      if (hBits) LocalFree(hBits);
      ++counts[rc];
      if (rc < -1 || rc > 10 || (rc == 0 && (!hInfo || !hBits))) strange = true;
    }
  }
  std::printf("results:");
  for (const auto& c : counts) std::printf(" %d:%d", c.first, c.second);
  std::printf("\n");
  return strange ? 1 : 0;
}
