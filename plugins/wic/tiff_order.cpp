#include "tiff_order.h"

#include <cstdint>
#include <vector>

#include "com.h"

namespace wic {
namespace {

void Put16(std::vector<BYTE>& out, unsigned v) {
  out.push_back(static_cast<BYTE>(v >> 8));
  out.push_back(static_cast<BYTE>(v));
}

void Put32(std::vector<BYTE>& out, unsigned v) {
  Put16(out, v >> 16);
  Put16(out, v & 0xFFFF);
}

// A one-pixel uncompressed big-endian RGB TIFF of the 16-bit samples
// 0x0102, 0x0304, 0x0506.
std::vector<BYTE> ProbeFile() {
  constexpr unsigned kEntries = 10;
  constexpr unsigned kBits = 8 + 2 + kEntries * 12 + 4;  // where BitsPerSample's values go
  constexpr unsigned kPixel = kBits + 6;
  std::vector<BYTE> f = {'M', 'M', 0, 42};
  Put32(f, 8);
  Put16(f, kEntries);
  const unsigned entries[kEntries][4] = {
      // tag, type (3 SHORT, 4 LONG), count, value or offset
      {256, 3, 1, 1},      {257, 3, 1, 1},      {258, 3, 3, kBits}, {259, 3, 1, 1},
      {262, 3, 1, 2},      {273, 4, 1, kPixel}, {277, 3, 1, 3},     {278, 3, 1, 1},
      {279, 4, 1, 6},      {284, 3, 1, 1},
  };
  for (const auto& e : entries) {
    Put16(f, e[0]);
    Put16(f, e[1]);
    Put32(f, e[2]);
    if (e[1] == 3 && e[2] == 1) {
      Put16(f, e[3]);  // a single SHORT sits left-justified
      Put16(f, 0);
    } else {
      Put32(f, e[3]);
    }
  }
  Put32(f, 0);  // no further directory
  for (int i = 0; i < 3; ++i) Put16(f, 16);
  for (BYTE b = 1; b <= 6; ++b) f.push_back(b);
  return f;
}

bool Probe(IWICImagingFactory* factory) {
  std::vector<BYTE> file = ProbeFile();
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  BYTE pixel[8] = {};
  const WICRect rect{0, 0, 1, 1};
  WICPixelFormatGUID format{};
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(file.data(), static_cast<DWORD>(file.size()))) ||
      FAILED(factory->CreateDecoder(GUID_ContainerFormatTiff, nullptr, decoder.put())) ||
      FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetPixelFormat(&format)) ||
      format != GUID_WICPixelFormat48bppRGB || FAILED(frame->CopyPixels(&rect, 6, 6, pixel)))
    return false;
  return pixel[0] == 0x01 && pixel[1] == 0x02;
}

}  // namespace

bool KeepsBigEndianSamples(IWICImagingFactory* factory) {
  static const bool keeps = Probe(factory);
  return keeps;
}

}  // namespace wic
