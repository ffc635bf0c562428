// ifwic.spi / ifwic.sph: any picture an installed decoder of the imaging
// component reads, for the formats none of our other plug-ins take (on
// Windows 10/11 HEIC, AVIF, WebP, JPEG XL, JPEG XR, DDS, camera RAW where
// their extensions are installed; under Wine TGA, DDS, JPEG XR). Its
// extension filter is read from the installed decoders when first asked.
// Pictures come upright by their EXIF orientation; the preview (a quarter
// of each side) comes from the decoder's own reduced decoding where it has
// one. The picture's information carries the date it was taken, when its
// metadata states one, as the text line "DateTimeOriginal=YYYY:MM:DD HH:MM:SS".
// One decode at a time: some system decoders fail on two threads.
#include <string>

#include "first_frame.h"
#include "installed.h"
#include "plugin.h"
#include "preview.h"
#include "quarter_side.h"

namespace {

using namespace spi;

// The process's one decode at a time through this plug-in.
class DecodeLock {
 public:
  DecodeLock() { EnterCriticalSection(&section_); }
  ~DecodeLock() { LeaveCriticalSection(&section_); }
  DecodeLock(const DecodeLock&) = delete;
  DecodeLock& operator=(const DecodeLock&) = delete;
  static void Setup() { InitializeCriticalSection(&section_); }

 private:
  static CRITICAL_SECTION section_;
};
CRITICAL_SECTION DecodeLock::section_;
const bool kLockReady = (DecodeLock::Setup(), true);

// Any head the installed decoders' patterns know.
bool Sniff(const uint8_t* head, std::size_t size) {
  wic::ComScope com;
  wic::Com<IWICImagingFactory> factory;
  wic::Com<IWICStream> stream;
  wic::Com<IWICBitmapDecoder> decoder;
  return com.Usable() &&
         SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, factory.put_void())) &&
         SUCCEEDED(factory->CreateStream(stream.put())) &&
         SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(head), static_cast<DWORD>(size))) &&
         SUCCEEDED(wic::OpenAnyDecoder(factory.get(), stream.get(), decoder.put()));
}

bool AnyHead(const uint8_t*, std::size_t) { return true; }
// GUID_NULL: whichever installed decoder reads the bytes (installed.h).
const wic::Container kAny = {AnyHead, GUID_NULL};

// EXIF orientation 1..8 as the metadata holds it (JPEG-style, TIFF-style
// and HEIF containers alike); 1 when there is none.
int OrientationOf(IWICBitmapFrameDecode* frame) {
  wic::Com<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(reader.put()))) return 1;
  static const wchar_t* const kNames[] = {L"System.Photo.Orientation", L"/app1/ifd/{ushort=274}",
                                          L"/ifd/{ushort=274}"};
  for (const wchar_t* name : kNames) {
    ULONG value = 0;
    if (wic::QueryNumber(reader.get(), name, value) && value >= 1 && value <= 8)
      return static_cast<int>(value);
  }
  return 1;
}

// A metadata value as printable ASCII, at most `limit` characters, cut at
// the first other character; empty when absent or not text.
std::string QueryText(IWICMetadataQueryReader* reader, const wchar_t* name, std::size_t limit) {
  PROPVARIANT v;
  PropVariantInit(&v);
  std::string text;
  if (SUCCEEDED(reader->GetMetadataByName(name, &v))) {
    const auto keep = [&](unsigned c) { return c >= 0x20 && c < 0x7F && text.size() < limit; };
    if (v.vt == VT_LPSTR && v.pszVal)
      for (const char* p = v.pszVal; keep(static_cast<unsigned char>(*p)); ++p) text += *p;
    if (v.vt == VT_LPWSTR && v.pwszVal)
      for (const wchar_t* p = v.pwszVal; keep(*p); ++p) text += static_cast<char>(*p);
  }
  PropVariantClear(&v);
  return text;
}

// EXIF DateTimeOriginal as the metadata states it, "YYYY:MM:DD HH:MM:SS":
// where JPEG-style and TIFF-style containers keep it (HEIF, camera RAW and
// DNG keep EXIF as TIFF does), else XMP's "YYYY-MM-DDTHH:MM:SS" put in that
// form. Empty when there is none; judging the date is the host's.
std::string DateTakenOf(IWICBitmapFrameDecode* frame) {
  constexpr std::size_t kDateSize = 19;
  wic::Com<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(reader.put()))) return std::string();
  for (const wchar_t* name : {L"/app1/ifd/exif/{ushort=36867}", L"/ifd/exif/{ushort=36867}"}) {
    const std::string text = QueryText(reader.get(), name, kDateSize);
    if (!text.empty()) return text;
  }
  for (const wchar_t* name : {L"/xmp/exif:DateTimeOriginal", L"/ifd/xmp/exif:DateTimeOriginal"}) {
    std::string text = QueryText(reader.get(), name, kDateSize);
    if (text.size() > 10 && text[4] == '-' && text[7] == '-' && text[10] == 'T') {
      text[4] = text[7] = ':';
      text[10] = ' ';
    }
    if (!text.empty()) return text;
  }
  return std::string();
}

int Info(const Bytes& in, PictureInfo& out) {
  DecodeLock one;
  wic::Picture picture;
  const int rc = picture.Open(in, kAny);
  if (rc != kSuccess) return rc;
  const bool swap = wic::SwapsSides(OrientationOf(picture.Frame()));
  out.width = static_cast<long>(swap ? picture.Height() : picture.Width());
  out.height = static_cast<long>(swap ? picture.Width() : picture.Height());
  picture.Densities(out.x_density, out.y_density);
  out.colorDepth = static_cast<short>(picture.BitsPerPixel());
  const std::string date = DateTakenOf(picture.Frame());
  if (!date.empty()) {
    const std::string line = "DateTimeOriginal=" + date;
    out.hInfo = MakeInfoText(line.data(), line.size());
  }
  return kSuccess;
}

int Picture(const Bytes& in, Dib& out, Progress& progress) {
  DecodeLock one;
  wic::Picture picture;
  wic::Prepared form;
  const int rc = wic::OpenPrepared(in, kAny, picture, form);
  if (rc != kSuccess) return rc;
  return wic::Render(wic::RowsOf(form.source.get()), picture.Width(), picture.Height(), form,
                     OrientationOf(picture.Frame()), out, progress);
}

// The decoder's own reduced decoding at the quarter or the nearest size it
// offers above it (below the full size), rows in 24-bit BGR; its rows stay
// empty when it has none.
void NearQuarter(const wic::Picture& picture, UINT w, UINT h, wic::ReducedDecoding& reduced) {
  if (!wic::OpenReduced(picture, w, h, reduced) || reduced.width < w || reduced.height < h ||
      reduced.width >= picture.Width())
    return;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(reduced.transform->GetClosestPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return;
  reduced.form.sourcePixel = 3, reduced.form.bitCount = 24;
  reduced.rows = wic::ReducedRows(reduced, format);
}

int Preview(const Bytes& in, Dib& out, Progress& progress) {
  DecodeLock one;
  wic::Picture picture;
  const int rc = picture.Open(in, kAny);
  if (rc != kSuccess) return rc;
  const UINT w = wic::QuarterSide(picture.Width()), h = wic::QuarterSide(picture.Height());
  wic::ReducedDecoding reduced;
  NearQuarter(picture, w, h, reduced);
  return wic::RenderPreview(picture, reduced, w, h, OrientationOf(picture.Frame()), out, progress);
}

}  // namespace

const spi::Plugin& spi::ThisPlugin() {
  static const Plugin plugin = {SPI_FILE_NAME " 1.0 pictures of the installed Windows Imaging Component decoders for Glimora",
                                wic::InstalledDecoders::Get().Filter().c_str(),
                                "Windows Imaging Component", Sniff, Info, Picture, Preview};
  return plugin;
}
