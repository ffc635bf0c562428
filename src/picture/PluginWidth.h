// Whether a plug-in file is built for this process's width. A 64-bit program
// cannot load a 32-bit DLL (nor the reverse); looking at the file's header
// first lets the program say so instead of reporting the plug-in as missing.
#pragma once

namespace picture {

enum class PluginFit {
  Usable,      // found, and of this process's machine type (or not a DLL we can judge)
  Missing,     // not found where LoadLibraryA would look
  OtherWidth,  // a DLL for the other width: 32-bit in a 64-bit program, or the reverse
};

// Finds file (a bare plug-in name) as the program loads it and reads the
// machine type in its PE header. A module already loaded under that name is Usable.
PluginFit CheckPluginFile(const char* file);

// The user's message for a plug-in of the other width, naming the file.
const char* OtherWidthMessageFormat();

}  // namespace picture
