// The extensions the imaging-component plug-in (ifwic) reads: whatever the
// system's installed decoders read, beyond the formats of our own plug-ins.
// Asked of the plug-in itself once per process (GetPluginInfo's filter), so
// a codec installed after the build is found at the next start.
#pragma once
#include <string>

namespace picture {

// The plug-in's filter, "*.tga;*.dds;..." (empty without the plug-in or a decoder).
const std::string& WicFilter();

// True when the plug-in reads files of upperExtension (".TGA").
bool WicReads(const std::string& upperExtension);

}  // namespace picture
