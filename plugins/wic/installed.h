// The imaging component's decoders as the system has them installed, less
// the formats our own plug-ins and the program read (BMP, ICO, JPEG, GIF,
// TIFF, PNG). Read once per load of the plug-in, so a codec installed later
// is found at the next load without a new plug-in; a decoder that is
// registered but cannot be created (left behind by an uninstall) is passed over.
#pragma once
#include <wincodec.h>

#include <string>
#include <vector>

#include "com.h"

namespace wic {

struct InstalledDecoder {
  CLSID clsid;
  GUID container;
  std::string extensions;  // as registered, lower-cased: ".tga,.dds"
};

class InstalledDecoders {
 public:
  // The catalogue of this process, read on first use.
  static const InstalledDecoders& Get();

  const std::vector<InstalledDecoder>& All() const { return decoders_; }
  // The extension filter of every decoder: "*.tga;*.dds;..."; empty without any.
  const std::string& Filter() const { return filter_; }

 private:
  void Read(IWICImagingFactory* factory);

  std::vector<InstalledDecoder> decoders_;
  std::string filter_;
};

// A decoder for the bytes in `stream`: the first installed decoder whose
// pattern matches, else the first that accepts them (formats such as TGA
// have no pattern). Null when none reads them.
HRESULT OpenAnyDecoder(IWICImagingFactory* factory, IWICStream* stream, IWICBitmapDecoder** out);

}  // namespace wic
