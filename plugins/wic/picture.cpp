#include "picture.h"

#include "installed.h"

namespace wic {

int CodeOf(HRESULT hr) {
  if (hr == E_OUTOFMEMORY) return spi::kNoMemory;
  if (hr == WINCODEC_ERR_COMPONENTNOTFOUND || hr == WINCODEC_ERR_UNKNOWNIMAGEFORMAT)
    return spi::kUnknownFormat;
  return spi::kBrokenData;
}

int Picture::Open(const spi::Bytes& in, const Container& container) {
  if (!container.sniff(in.data, in.size)) return spi::kUnknownFormat;
  if (!com_.Usable()) return spi::kInternalError;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, factory_.put_void())))
    return spi::kInternalError;
  if (in.size > MAXDWORD) return spi::kNoMemory;
  HRESULT hr = factory_->CreateStream(stream_.put());
  if (SUCCEEDED(hr))
    hr = stream_->InitializeFromMemory(const_cast<BYTE*>(in.data), static_cast<DWORD>(in.size));
  if (FAILED(hr)) return spi::kInternalError;
  if (container.format == GUID_NULL) {
    hr = OpenAnyDecoder(factory_.get(), stream_.get(), decoder_.put());
  } else {
    hr = factory_->CreateDecoder(container.format, nullptr, decoder_.put());
    if (FAILED(hr)) return spi::kInternalError;
    hr = decoder_->Initialize(stream_.get(), WICDecodeMetadataCacheOnDemand);
  }
  if (SUCCEEDED(hr)) hr = decoder_->GetFrame(0, frame_.put());
  if (SUCCEEDED(hr)) hr = frame_->GetSize(&width_, &height_);
  if (SUCCEEDED(hr)) hr = frame_->GetPixelFormat(&format_);
  if (FAILED(hr)) return CodeOf(hr);
  if (width_ == 0 || height_ == 0) return spi::kBrokenData;
  return spi::kSuccess;
}

int Picture::BitsPerPixel() const {
  Com<IWICComponentInfo> component;
  Com<IWICPixelFormatInfo> info;
  UINT bits = 0;
  if (SUCCEEDED(factory_->CreateComponentInfo(format_, component.put())) &&
      SUCCEEDED(component->QueryInterface(IID_IWICPixelFormatInfo, info.put_void())) &&
      SUCCEEDED(info->GetBitsPerPixel(&bits)) && bits > 0 && bits < 0x8000)
    return static_cast<int>(bits);
  return 24;
}

void Picture::Densities(WORD& x, WORD& y) const {
  x = y = 1;
  double dx = 0, dy = 0;
  if (FAILED(frame_->GetResolution(&dx, &dy))) return;
  if (!(dx >= 1 && dy >= 1 && dx < 65536 && dy < 65536)) return;
  unsigned a = static_cast<unsigned>(dx + 0.5), b = static_cast<unsigned>(dy + 0.5);
  if (a == b) return;
  unsigned p = a, q = b;
  while (q != 0) {
    const unsigned r = p % q;
    p = q;
    q = r;
  }
  x = static_cast<WORD>(a / p);
  y = static_cast<WORD>(b / p);
}

bool QueryNumber(IWICMetadataQueryReader* reader, const wchar_t* name, ULONG& value) {
  if (reader == nullptr) return false;
  PROPVARIANT v;
  PropVariantInit(&v);
  bool ok = SUCCEEDED(reader->GetMetadataByName(name, &v));
  if (ok) {
    switch (v.vt) {
      case VT_UI1: value = v.bVal; break;
      case VT_UI2: value = v.uiVal; break;
      case VT_UI4: value = v.ulVal; break;
      case VT_BOOL: value = v.boolVal ? 1 : 0; break;
      default: ok = false;
    }
  }
  PropVariantClear(&v);
  return ok;
}

}  // namespace wic
