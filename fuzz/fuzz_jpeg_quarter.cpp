// The JPEG plug-in's own quarter-size decoding: any bytes walked for their
// tables, a stop asked at a row chosen by the input's last byte; a decoded
// quarter is read row by row whole, so the address sanitizer sees any
// sample outside its planes. The planes are capped at 4 MiB so that the
// search stays quick (the cap's own check is the same code path at any size).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpeg_frame.h"
#include "jpeg_quarter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  wic::JpegQuarter quarter(4u << 20);
  const int stopAt = size > 0 ? data[size - 1] % 64 : 0;
  int calls = 0;
  const auto report = [&](int, int) { return ++calls == stopAt; };
  wic::JpegMarkers markers(data, size);
  wic::JpegFrameReader frame;
  for (wic::JpegSegment s; markers.Next(s);) frame.Take(s);
  if (!frame.Decodable() ||
      quarter.Decode(frame.Frame(), frame.ScanData(), data + size, report) != wic::JpegQuarter::Result::kDecoded)
    return 0;
  if (quarter.Width() <= 0 || quarter.Height() <= 0) __builtin_trap();
  std::vector<uint8_t> row(static_cast<std::size_t>(quarter.Width()) * 3);
  for (int y = 0; y < quarter.Height(); ++y) quarter.Row(y, row.data());
  return 0;
}
