// The made-up picture format of the test decoder (.gtx): "GLIMGTX1", then
// little-endian width and height (32 bits each), an EXIF orientation byte
// (1..8), a behaviour byte ('N' normal, 'C' crash while decoding, 'H' hang
// while decoding), two bytes of padding, then width x height pixels of
// 24-bit BGR, rows top-down without padding. Bytes after the pixels (up to
// 32) are the date the picture was taken, answered as its metadata as they
// are: on the EXIF path as 8-bit text, or, when they have XMP's shape
// ("2019-07-14T10:30:00"), on the XMP path as wide text.
#pragma once
#include <cstdint>

namespace gtx {

constexpr char kSignature[8] = {'G', 'L', 'I', 'M', 'G', 'T', 'X', '1'};
constexpr int kHeaderSize = 20;
constexpr int kMaxDateSize = 32;

// {5B0C4A11-6F1E-4C57-9D2A-3E7A0B1C2D31}: the decoder's class.
constexpr GUID kDecoderClsid = {0x5b0c4a11, 0x6f1e, 0x4c57, {0x9d, 0x2a, 0x3e, 0x7a, 0x0b, 0x1c, 0x2d, 0x31}};
// {5B0C4A12-6F1E-4C57-9D2A-3E7A0B1C2D31}: the container format.
constexpr GUID kContainer = {0x5b0c4a12, 0x6f1e, 0x4c57, {0x9d, 0x2a, 0x3e, 0x7a, 0x0b, 0x1c, 0x2d, 0x31}};

}  // namespace gtx
