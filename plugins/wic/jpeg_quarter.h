// A JPEG decoded straight to a quarter of its size (quarter_side.h), for
// the plug-in's preview of very large photos. Each 8 x 8 block of
// coefficients becomes the averages of its four 4 x 4 quarters,
// worked out from the coefficients without the full inverse transform, so
// the full picture is never held: a 108-megapixel photo needs about 10 MB
// here, where a full decode needs 324 MB, and the decode can stop between
// rows of blocks when the host asks.
//
// Sequential Huffman JPEG with 8-bit samples, gray or YCbCr, every
// component in one scan (what cameras write). Anything else (progressive,
// arithmetic coding, CMYK, several scans, data that ends early or breaks) is
// not handled here and goes to the imaging component as before. Portable:
// reads bytes only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace wic {

struct JpegFrame;

class JpegQuarter {
 public:
  enum class Result { kDecoded, kNotHandled, kStopped };
  // Larger pictures (more than this for the quarter's planes) are not handled.
  explicit JpegQuarter(std::size_t maxPlaneBytes = 64u << 20) : maxPlaneBytes_(maxPlaneBytes) {}
  // Told the rows of blocks done and in all before each row; its true stops
  // the decode (the host's progress callback answers so).
  using ProgressReport = std::function<bool(int done, int total)>;

  // The scan of a frame that JpegFrameReader found decodable, from its
  // entropy-coded data at `scan` to the end of the file's bytes.
  Result Decode(const JpegFrame& frame, const uint8_t* scan, const uint8_t* end,
                const ProgressReport& report);

  int Width() const { return width_; }    // the quarter's size
  int Height() const { return height_; }
  bool Gray() const { return planes_.size() == 1; }
  // Row y (top-down) of the quarter: width bytes of gray, or width BGR triples.
  void Row(int y, uint8_t* out) const;

 private:
  struct Plane {
    int factorX = 1, factorY = 1;  // sampling factors
    int stride = 0;                // quarter samples per row: 2 per block
    std::vector<uint8_t> samples;
  };
  uint8_t Sample(const Plane& p, int x, int y) const;

  std::size_t maxPlaneBytes_;
  int width_ = 0, height_ = 0;
  int maxX_ = 1, maxY_ = 1;
  std::vector<Plane> planes_;
};

}  // namespace wic
