// Writes seed files for the fuzz targets from the test encoders:
//   make_seeds <corpus folder>   ->  <folder>/<format>/seed-N
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/retro_encoders.h"

using namespace retro_test;
namespace fs = std::filesystem;

namespace {

void save(const fs::path& folder, const std::string& format, int n, const std::vector<uint8_t>& bytes) {
  fs::create_directories(folder / format);
  std::ofstream(folder / format / ("seed-" + std::to_string(n)), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

IndexedPicture picture(int w, int h, int colours, uint32_t seed) {
  IndexedPicture p = MakePattern(w, h, colours, seed);
  for (int i = 0; i < colours; ++i) p.palette.push_back(static_cast<uint32_t>(i * 0x010203));
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
    return 2;
  }
  const fs::path folder = argv[1];
  int n = 0;
  for (int colours : {16, 256})
    for (int w : {8, 24, 61}) {
      MagOptions mo;
      mo.lines200 = w == 24;
      mo.left = w == 61 ? 5 : 0;
      save(folder, "mag", n, EncodeMag(picture(w, 12, colours, n), mo));
      PiOptions po;
      po.aspectN = 2;
      po.aspectM = 1;
      po.omitPalette = w == 8;
      save(folder, "pi", n, EncodePi(picture(w, 12, colours, n), po));
      const IndexedPicture p = picture(w, 12, colours, n);
      std::vector<uint16_t> palette(colours);
      for (int i = 0; i < colours; ++i) palette[i] = static_cast<uint16_t>(i * 257);
      save(folder, "pic", n, EncodePicIndexed(w, 12, p.pixels, palette, colours == 16 ? 4 : 8));
      std::vector<uint16_t> words;
      for (uint8_t v : p.pixels) words.push_back(static_cast<uint16_t>(v * 0x0841 | (v & 1)));
      save(folder, "pic", 100 + n, EncodePicDirect(w, 12, words, colours == 16 ? 15 : 16));
      std::vector<uint32_t> values;
      for (uint8_t v : p.pixels) values.push_back(colours == 16 ? words[values.size()] : v * 0x010101u);
      Pic2Options o;
      o.depth = colours == 16 ? 15 : 24;
      o.littleEndian = w == 24;
      o.twoBlocks = w != 8;
      o.keyedSecondBlock = w == 61;
      save(folder, "pic2", n, EncodePic2(w, 12, values, o));
      o.compressed = true;  // arithmetic-coded blocks: values as R, G, B
      o.depth = colours == 16 ? 12 : 24;
      for (uint32_t& v : values) v = colours == 16 ? (v & 0xF) * 0x111 : v;
      save(folder, "pic2", 200 + n, EncodePic2(w, 12, values, o));
      o.runLength = true;  // run-length blocks of the same values
      save(folder, "pic2", 300 + n, EncodePic2(w, 12, values, o));
      ++n;
    }
  Xld4Palette levels{};
  for (int i = 0; i < 16; ++i) levels.r[i] = levels.g[i] = levels.b[i] = static_cast<uint8_t>(i);
  for (int s = 0; s < 3; ++s) {
    IndexedPicture q = MakePattern(640, 400, 16, static_cast<uint32_t>(s));
    for (std::size_t i = 300 * 640; i < q.pixels.size(); ++i) q.pixels[i] = static_cast<uint8_t>((i / 640 / (s + 1)) % 16);
    save(folder, "xld4", s, EncodeXld4(q.pixels, levels));
  }
  return 0;
}
