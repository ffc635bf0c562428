#include "installed.h"

#include <cwctype>

namespace wic {

namespace {

// Read by our own plug-ins (or the program), which know these formats better.
bool OursAlready(const GUID& container) {
  return container == GUID_ContainerFormatBmp || container == GUID_ContainerFormatIco ||
         container == GUID_ContainerFormatJpeg || container == GUID_ContainerFormatGif ||
         container == GUID_ContainerFormatTiff || container == GUID_ContainerFormatPng;
}

// ".tga,.TGA2" (wide) to ".tga,.tga2"; false for anything but plain ASCII.
bool LowerAscii(const wchar_t* text, std::string& out) {
  out.clear();
  for (; *text; ++text) {
    if (*text > 0x7E || *text < 0x20) return false;
    out += static_cast<char>(std::towlower(*text));
  }
  return true;
}

// "*.tga;*.dds" from ".tga,.dds" (a registration may also use ';' or spaces),
// each extension once.
void AddToFilter(const std::string& extensions, std::string& filter) {
  std::size_t start = 0;
  while (start <= extensions.size()) {
    std::size_t end = extensions.find_first_of(",; ", start);
    if (end == std::string::npos) end = extensions.size();
    const std::string pattern = "*" + extensions.substr(start, end - start);
    if (pattern.size() > 2 && pattern[1] == '.' &&
        (";" + filter + ";").find(";" + pattern + ";") == std::string::npos) {
      if (!filter.empty()) filter += ';';
      filter += pattern;
    }
    start = end + 1;
  }
}

// True when the decoder's class can really be made: its DLL is there and loads.
bool Creatable(IWICBitmapDecoderInfo* info) {
  Com<IWICBitmapDecoder> decoder;
  return SUCCEEDED(info->CreateInstance(decoder.put()));
}

}  // namespace

const InstalledDecoders& InstalledDecoders::Get() {
  static const InstalledDecoders catalogue = [] {
    InstalledDecoders read;
    ComScope com;
    Com<IWICImagingFactory> factory;
    if (com.Usable() && SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_IWICImagingFactory, factory.put_void())))
      read.Read(factory.get());
    return read;
  }();
  return catalogue;
}

void InstalledDecoders::Read(IWICImagingFactory* factory) {
  Com<IEnumUnknown> list;
  if (FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, list.put())))
    return;
  for (;;) {
    Com<IUnknown> item;
    ULONG got = 0;
    if (list->Next(1, item.put(), &got) != S_OK || got != 1) break;
    Com<IWICBitmapDecoderInfo> info;
    if (FAILED(item->QueryInterface(IID_IWICBitmapDecoderInfo, info.put_void()))) continue;
    InstalledDecoder decoder{};
    if (FAILED(info->GetCLSID(&decoder.clsid)) || FAILED(info->GetContainerFormat(&decoder.container)) ||
        OursAlready(decoder.container))
      continue;
    wchar_t extensions[256] = {};
    UINT length = 0;
    if (FAILED(info->GetFileExtensions(255, extensions, &length)) ||
        !LowerAscii(extensions, decoder.extensions) || !Creatable(info.get()))
      continue;
    AddToFilter(decoder.extensions, filter_);
    decoders_.push_back(decoder);
  }
}

namespace {

bool Rewind(IWICStream* stream) {
  LARGE_INTEGER zero{};
  return SUCCEEDED(stream->Seek(zero, STREAM_SEEK_SET, nullptr));
}

HRESULT TryDecoder(const CLSID& clsid, IWICStream* stream, IWICBitmapDecoder** out) {
  Com<IWICBitmapDecoder> decoder;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IWICBitmapDecoder,
                                decoder.put_void());
  if (SUCCEEDED(hr) && !Rewind(stream)) hr = E_FAIL;
  if (SUCCEEDED(hr)) hr = decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand);
  if (SUCCEEDED(hr)) {
    *out = decoder.get();
    decoder.get()->AddRef();
  }
  return hr;
}

bool PatternMatches(IWICImagingFactory* factory, const CLSID& clsid, IWICStream* stream) {
  Com<IWICComponentInfo> component;
  Com<IWICBitmapDecoderInfo> info;
  BOOL matches = FALSE;
  return Rewind(stream) && SUCCEEDED(factory->CreateComponentInfo(clsid, component.put())) &&
         SUCCEEDED(component->QueryInterface(IID_IWICBitmapDecoderInfo, info.put_void())) &&
         SUCCEEDED(info->MatchesPattern(stream, &matches)) && matches;
}

}  // namespace

HRESULT OpenAnyDecoder(IWICImagingFactory* factory, IWICStream* stream, IWICBitmapDecoder** out) {
  *out = nullptr;
  const auto& all = InstalledDecoders::Get().All();
  HRESULT last = WINCODEC_ERR_COMPONENTNOTFOUND;
  for (const InstalledDecoder& d : all)
    if (PatternMatches(factory, d.clsid, stream) && SUCCEEDED(last = TryDecoder(d.clsid, stream, out)))
      return last;
  for (const InstalledDecoder& d : all)
    if (!PatternMatches(factory, d.clsid, stream) && SUCCEEDED(TryDecoder(d.clsid, stream, out)))
      return S_OK;
  return last;
}

}  // namespace wic
