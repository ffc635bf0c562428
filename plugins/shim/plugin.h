// What one plug-in DLL contributes: its texts, its sniffing and its decoding.
// The five exports (exports.cpp) are shared; each DLL defines ThisPlugin().
#pragma once
#include <cstddef>
#include <cstdint>

#include "dib.h"
#include "input.h"
#include "progress.h"
#include "spi.h"

namespace spi {

struct Plugin {
  const char* about;       // GetPluginInfo 1: name, version, copyright
  const char* filter;      // GetPluginInfo 2: extension filter
  const char* formatName;  // GetPluginInfo 3: format name
  // head: the start of the file, zero-padded to at least kHeadSize bytes.
  bool (*sniff)(const uint8_t* head, std::size_t size);
  // Each returns a result code; none may throw across the export boundary
  // (exports.cpp catches anyway).
  int (*info)(const Bytes& in, PictureInfo& out);
  int (*picture)(const Bytes& in, Dib& out, Progress& progress);
  int (*preview)(const Bytes& in, Dib& out, Progress& progress);  // null: no preview (-1)
};

const Plugin& ThisPlugin();

// Writes text into an info record's hInfo as a LocalAlloc'd zero-terminated
// copy; NULL when the text is empty or memory is short.
HLOCAL MakeInfoText(const char* text, std::size_t length);

}  // namespace spi
