// A tiny decoder of the imaging component for the made-up .gtx format
// (gtx_format.h), built for the tests only: registered in a test prefix,
// it stands in for a codec installed after the build (HEIC, WebP ...), and
// its 'C' and 'H' files stand in for a system decoder that crashes or hangs.
#include <wincodec.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "gtx_format.h"

namespace {

LONG g_objects = 0;

// IUnknown for one interface (and IUnknown itself).
template <class Interface>
class Unknown : public Interface {
 public:
  virtual ~Unknown() { InterlockedDecrement(&g_objects); }
  Unknown() { InterlockedIncrement(&g_objects); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && !Is(iid)) return E_NOINTERFACE;
    *out = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual bool Is(REFIID iid) const = 0;

 private:
  LONG refs_ = 1;
};

struct Picture {
  UINT width = 0, height = 0;
  int orientation = 1;
  char behaviour = 'N';
  std::vector<BYTE> pixels;  // BGR, rows top-down
  std::string date;          // as the file has it; empty: none
};

// Answers the orientation and the date taken the way a photo's EXIF block
// (or its XMP packet) does.
class Metadata : public Unknown<IWICMetadataQueryReader> {
 public:
  explicit Metadata(std::shared_ptr<const Picture> picture) : picture_(std::move(picture)) {}
  HRESULT STDMETHODCALLTYPE GetContainerFormat(GUID* format) override {
    *format = gtx::kContainer;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLocation(UINT, WCHAR*, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMetadataByName(LPCWSTR name, PROPVARIANT* value) override {
    PropVariantInit(value);
    if (wcscmp(name, L"/ifd/{ushort=274}") == 0 || wcscmp(name, L"System.Photo.Orientation") == 0) {
      value->vt = VT_UI2;
      value->uiVal = static_cast<USHORT>(picture_->orientation);
      return S_OK;
    }
    const std::string& date = picture_->date;
    const bool xmp = date.size() > 10 && date[10] == 'T';
    if (date.empty() || wcscmp(name, xmp ? L"/xmp/exif:DateTimeOriginal" : L"/ifd/exif/{ushort=36867}") != 0)
      return WINCODEC_ERR_PROPERTYNOTFOUND;
    const size_t bytes = (date.size() + 1) * (xmp ? sizeof(wchar_t) : 1);
    void* text = CoTaskMemAlloc(bytes);
    if (!text) return E_OUTOFMEMORY;
    std::memset(text, 0, bytes);
    if (xmp) {
      value->vt = VT_LPWSTR;
      value->pwszVal = static_cast<wchar_t*>(text);
      for (size_t k = 0; k < date.size(); ++k) value->pwszVal[k] = static_cast<unsigned char>(date[k]);
    } else {
      value->vt = VT_LPSTR;
      value->pszVal = static_cast<char*>(text);
      std::memcpy(text, date.data(), date.size());
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEnumerator(IEnumString**) override { return E_NOTIMPL; }

 protected:
  bool Is(REFIID iid) const override { return iid == IID_IWICMetadataQueryReader; }

 private:
  std::shared_ptr<const Picture> picture_;
};

class Frame : public Unknown<IWICBitmapFrameDecode> {
 public:
  explicit Frame(std::shared_ptr<const Picture> picture) : picture_(std::move(picture)) {}
  HRESULT STDMETHODCALLTYPE GetSize(UINT* w, UINT* h) override {
    *w = picture_->width, *h = picture_->height;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override {
    *format = GUID_WICPixelFormat24bppBGR;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
    *x = *y = 96.0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
  HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT size, BYTE* out) override {
    if (picture_->behaviour == 'C') *static_cast<volatile int*>(nullptr) = 1;
    if (picture_->behaviour == 'H') Sleep(INFINITE);
    const Picture& p = *picture_;
    WICRect all = {0, 0, static_cast<INT>(p.width), static_cast<INT>(p.height)};
    const WICRect r = rect ? *rect : all;
    if (r.X < 0 || r.Y < 0 || r.Width < 0 || r.Height < 0 || static_cast<UINT>(r.X + r.Width) > p.width ||
        static_cast<UINT>(r.Y + r.Height) > p.height)
      return E_INVALIDARG;
    const UINT row = static_cast<UINT>(r.Width) * 3;
    if (r.Height > 0 && (stride < row || size < stride * (r.Height - 1) + row)) return E_INVALIDARG;
    for (INT y = 0; y < r.Height; ++y)
      std::memcpy(out + static_cast<size_t>(stride) * y, &p.pixels[(static_cast<size_t>(r.Y + y) * p.width + r.X) * 3], row);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader** out) override {
    *out = new (std::nothrow) Metadata(picture_);
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE GetColorContexts(UINT, IWICColorContext**, UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource**) override { return WINCODEC_ERR_CODECNOTHUMBNAIL; }

 protected:
  bool Is(REFIID iid) const override { return iid == IID_IWICBitmapSource || iid == IID_IWICBitmapFrameDecode; }

 private:
  std::shared_ptr<const Picture> picture_;
};

bool ReadAll(IStream* stream, void* into, ULONG size) {
  ULONG got = 0;
  return SUCCEEDED(stream->Read(into, size, &got)) && got == size;
}

class Decoder : public Unknown<IWICBitmapDecoder> {
 public:
  HRESULT STDMETHODCALLTYPE QueryCapability(IStream*, DWORD* capability) override {
    *capability = WICBitmapDecoderCapabilityCanDecodeAllImages;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Initialize(IStream* stream, WICDecodeOptions) override {
    BYTE head[gtx::kHeaderSize];
    if (!stream || !ReadAll(stream, head, sizeof head) || std::memcmp(head, gtx::kSignature, 8) != 0)
      return WINCODEC_ERR_UNKNOWNIMAGEFORMAT;
    auto picture = std::make_shared<Picture>();
    std::memcpy(&picture->width, head + 8, 4);
    std::memcpy(&picture->height, head + 12, 4);
    picture->orientation = head[16] >= 1 && head[16] <= 8 ? head[16] : 1;
    picture->behaviour = static_cast<char>(head[17]);
    if (picture->width == 0 || picture->height == 0 || picture->width > 20000 || picture->height > 20000)
      return WINCODEC_ERR_BADHEADER;
    const ULONG bytes = picture->width * picture->height * 3;
    picture->pixels.resize(bytes);
    if (!ReadAll(stream, picture->pixels.data(), bytes)) return WINCODEC_ERR_BADIMAGE;
    char date[gtx::kMaxDateSize];
    ULONG got = 0;
    if (SUCCEEDED(stream->Read(date, sizeof date, &got))) picture->date.assign(date, got);
    picture_ = std::move(picture);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetContainerFormat(GUID* format) override {
    *format = gtx::kContainer;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDecoderInfo(IWICBitmapDecoderInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
  HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader**) override {
    return WINCODEC_ERR_UNSUPPORTEDOPERATION;
  }
  HRESULT STDMETHODCALLTYPE GetPreview(IWICBitmapSource**) override { return WINCODEC_ERR_UNSUPPORTEDOPERATION; }
  HRESULT STDMETHODCALLTYPE GetColorContexts(UINT, IWICColorContext**, UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource**) override { return WINCODEC_ERR_CODECNOTHUMBNAIL; }
  HRESULT STDMETHODCALLTYPE GetFrameCount(UINT* count) override {
    *count = picture_ ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFrame(UINT index, IWICBitmapFrameDecode** out) override {
    *out = nullptr;
    if (!picture_) return WINCODEC_ERR_NOTINITIALIZED;
    if (index != 0) return E_INVALIDARG;
    *out = new (std::nothrow) Frame(picture_);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 protected:
  bool Is(REFIID iid) const override { return iid == IID_IWICBitmapDecoder; }

 private:
  std::shared_ptr<const Picture> picture_;
};

class Factory : public Unknown<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Decoder* decoder = new (std::nothrow) Decoder;
    if (!decoder) return E_OUTOFMEMORY;
    const HRESULT hr = decoder->QueryInterface(iid, out);
    decoder->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 protected:
  bool Is(REFIID iid) const override { return iid == IID_IClassFactory; }
};

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  *out = nullptr;
  if (clsid != gtx::kDecoderClsid) return CLASS_E_CLASSNOTAVAILABLE;
  Factory* factory = new (std::nothrow) Factory;
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }
