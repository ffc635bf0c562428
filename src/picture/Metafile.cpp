// Windows metafiles (placeable with the 22-byte header, or plain) and
// enhanced metafiles, played at their own size over kMetafileBackground.
// Every record is walked before GDI sees the bytes, so a record that claims
// more than the file holds is refused here.
#include <cstdlib>

#include "picture/Display.h"
#include "picture/InvalidGraphic.h"
#include "picture/MetafileLayout.h"
#include "picture/NativeFormats.h"

namespace picture {

namespace {

struct MetafileDeleter { void operator()(HMETAFILE h) const { DeleteMetaFile(h); } };
struct EnhMetafileDeleter { void operator()(HENHMETAFILE h) const { DeleteEnhMetaFile(h); } };
using MetafileHandle = forms::Owned<HMETAFILE, MetafileDeleter>;
using EnhMetafileHandle = forms::Owned<HENHMETAFILE, EnhMetafileDeleter>;

int CheckedSide(long long pixels) {
  if (pixels <= 0 || pixels > kMaxSide) throw InvalidGraphic("metafile size out of range");
  return static_cast<int>(pixels);
}

void CheckArea(int width, int height) {
  if (1LL * width * height > kMaxPixels) throw InvalidGraphic("metafile too large");
}

}  // namespace

LoadedPicture DecodeWindowsMetafile(const std::vector<BYTE>& bytes) {
  const WindowsMetafileLayout layout = ReadWindowsMetafileLayout(bytes.data(), bytes.size());
  const MetafileWindow& window = layout.window;
  int width, height;
  if (layout.unitsPerInch != 0) {  // placeable: the bounding box at the screen's resolution
    width = CheckedSide(MulDiv(std::abs(window.extX), ScreenPixelsPerInchX(), layout.unitsPerInch));
    height = CheckedSide(MulDiv(std::abs(window.extY), ScreenPixelsPerInchY(), layout.unitsPerInch));
  } else {  // plain: as large as the window its records set, one unit a pixel
    width = CheckedSide(std::abs(window.extX));
    height = CheckedSide(std::abs(window.extY));
  }
  CheckArea(width, height);
  MetafileHandle metafile(
      SetMetaFileBitsEx(static_cast<UINT>(layout.recordsBytes), bytes.data() + layout.recordsAt));
  if (!metafile) throw InvalidGraphic("metafile rejected");
  DrawingSurface surface(width, height, kMetafileBackground);
  HDC dc = surface.Dc();
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, window.orgX, window.orgY, nullptr);
  SetWindowExtEx(dc, window.extX, window.extY, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetViewportExtEx(dc, width, height, nullptr);
  PlayMetaFile(dc, metafile.get());
  SetMapMode(dc, MM_TEXT);
  return surface.Finish();
}

LoadedPicture DecodeEnhancedMetafile(const std::vector<BYTE>& bytes) {
  const EnhancedMetafileLayout layout = ReadEnhancedMetafileLayout(bytes.data(), bytes.size());
  long long width, height;
  if (layout.frameWidth > 0 && layout.frameHeight > 0) {  // the frame in 0.01 mm, at the screen's resolution
    width = MulDiv(layout.frameWidth, ScreenPixelsPerInchX(), 2540);
    height = MulDiv(layout.frameHeight, ScreenPixelsPerInchY(), 2540);
  } else {  // no frame: the bounds in device pixels
    width = layout.boundsWidth;
    height = layout.boundsHeight;
  }
  const int w = CheckedSide(width), h = CheckedSide(height);
  CheckArea(w, h);
  EnhMetafileHandle metafile(SetEnhMetaFileBits(layout.bytes, bytes.data()));
  if (!metafile) throw InvalidGraphic("enhanced metafile rejected");
  DrawingSurface surface(w, h, kMetafileBackground);
  const RECT all = {0, 0, w, h};
  PlayEnhMetaFile(surface.Dc(), metafile.get(), &all);
  return surface.Finish();
}

LoadedPicture ReadWindowsMetafile(const std::string& fileName) {
  return DecodeWindowsMetafile(ReadWholeFile(fileName));
}

LoadedPicture ReadEnhancedMetafile(const std::string& fileName) {
  return DecodeEnhancedMetafile(ReadWholeFile(fileName));
}

}  // namespace picture
