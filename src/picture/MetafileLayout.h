// Windows and enhanced metafiles walked without Windows: every record is
// checked to lie within the file before GDI sees the bytes, and the numbers
// the picture's size comes from are read out.
#pragma once
#include <cstddef>
#include <cstdint>

namespace picture {

// The logical window a Windows metafile is drawn in.
struct MetafileWindow {
  int orgX = 0, orgY = 0, extX = 0, extY = 0;
  bool hasExtent = false;
};

struct WindowsMetafileLayout {
  size_t recordsAt = 0, recordsBytes = 0;  // the metafile proper, up to its end record
  MetafileWindow window;  // placeable: its bounding box; plain: the window its records set
  int unitsPerInch = 0;   // placeable only; 0 for a plain metafile
};

struct EnhancedMetafileLayout {
  uint32_t bytes = 0;  // the metafile's length, up to its end record
  // The frame in 0.01 mm (zero when the corners do not make a positive
  // frame that fits an int), and the bounds in device pixels, inclusive.
  int32_t frameWidth = 0, frameHeight = 0;
  long long boundsWidth = 0, boundsHeight = 0;
};

// Both throw InvalidGraphic for anything but a sound metafile.
WindowsMetafileLayout ReadWindowsMetafileLayout(const uint8_t* bytes, size_t size);
EnhancedMetafileLayout ReadEnhancedMetafileLayout(const uint8_t* bytes, size_t size);

}  // namespace picture
