#include "picture/PluginExtensions.h"

#include <windows.h>

#include <set>

#include "forms/Gdi.h"
#include "picture/Decoders.h"
#include "picture/PluginLibrary.h"
#include "spi.h"

namespace picture {

namespace {

struct WicExtensions {
  std::string filter;
  std::set<std::string> upper;  // ".TGA"
};

// Every extension filter the plug-in lists (infono 2, 4, ...).
WicExtensions Read() {
  WicExtensions out;
  forms::ModuleHandle module(LoadPluginModule(PluginRowFor(Decoder::Wic).file));
  if (!module) return out;
  const auto info = reinterpret_cast<spi::GetPluginInfoFn>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), "GetPluginInfo")));
  if (!info) return out;
  char text[4096];
  for (int n = 2; n < 64 && info(n, text, sizeof text) > 0; n += 2) {
    text[sizeof text - 1] = '\0';
    if (!out.filter.empty()) out.filter += ';';
    out.filter += text;
  }
  std::string one;
  for (std::size_t i = 0; i <= out.filter.size(); ++i) {
    const char c = i < out.filter.size() ? out.filter[i] : ';';
    if (c == ';') {
      if (one.size() > 2 && one[0] == '*' && one[1] == '.') out.upper.insert(one.substr(1));
      one.clear();
    } else {
      one += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
  }
  return out;
}

const WicExtensions& Known() {
  static const WicExtensions known = Read();  // thread-safe: the first caller reads
  return known;
}

}  // namespace

const std::string& WicFilter() { return Known().filter; }

bool WicReads(const std::string& upperExtension) { return Known().upper.count(upperExtension) != 0; }

}  // namespace picture
