// The first frame of a picture, decoded by the platform's imaging component
// (WIC) from the bytes in memory. Owns COM for its lifetime.
#pragma once
#include <wincodec.h>

#include <cstddef>
#include <cstdint>

#include "com.h"
#include "input.h"

namespace wic {

// The one format a plug-in reads: how its files begin and which of the
// imaging component's decoders reads them (GUID_ContainerFormatJpeg ...);
// GUID_NULL for whichever installed decoder reads them (installed.h).
struct Container {
  bool (*sniff)(const uint8_t* head, std::size_t size);
  GUID format;
};

class Picture {
 public:
  // Returns a result code: kUnknownFormat when the bytes are not of the
  // container, kInternalError without a usable imaging component,
  // kBrokenData when the decoder rejects the bytes.
  int Open(const spi::Bytes& in, const Container& container);

  IWICImagingFactory* Factory() const { return factory_.get(); }
  IWICBitmapDecoder* Decoder() const { return decoder_.get(); }
  IWICBitmapFrameDecode* Frame() const { return frame_.get(); }
  UINT Width() const { return width_; }
  UINT Height() const { return height_; }
  const WICPixelFormatGUID& Format() const { return format_; }

  int BitsPerPixel() const;
  // Pixel densities from the resolution, as a small ratio; 1, 1 when square
  // or unknown.
  void Densities(WORD& x, WORD& y) const;

 private:
  ComScope com_;
  Com<IWICImagingFactory> factory_;
  Com<IWICStream> stream_;
  Com<IWICBitmapDecoder> decoder_;
  Com<IWICBitmapFrameDecode> frame_;
  UINT width_ = 0;
  UINT height_ = 0;
  WICPixelFormatGUID format_{};
};

// The result code for a failed imaging call.
int CodeOf(HRESULT hr);

// A metadata value as an unsigned number; false when absent or not a number.
bool QueryNumber(IWICMetadataQueryReader* reader, const wchar_t* name, ULONG& value);

}  // namespace wic
