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

// One small PIC of every machine type and mode the decoder reads.
void savePicMachines(const fs::path& folder) {
  const IndexedPicture p = picture(32, 12, 256, 9);
  std::vector<uint32_t> codes(p.pixels.begin(), p.pixels.end());
  std::vector<uint32_t> wide;
  std::vector<uint32_t> words;
  for (uint8_t v : p.pixels) {
    wide.push_back(v * 0x010101u);
    words.push_back(v * 0x0101u);
  }
  struct Variant {
    PicMachine machine;
    const std::vector<uint32_t>* codes;
    int width;
  };
  const std::vector<uint32_t> pairs = PicPairs(32, 12, p.pixels);
  const std::vector<uint32_t> palette16(p.palette.begin(), p.palette.begin() + 16);
  std::vector<uint32_t> codes16;
  for (uint8_t v : p.pixels) codes16.push_back(v % 16);
  const std::vector<Variant> variants = {
      {{1, 0, 8, 8, false, {}}, &codes, 32},         {{1, 1, 12, 12, true, {}}, &codes, 32},
      {{1, 0, 16, 16, true, {}}, &words, 32},         {{1, 2, 16, 16, true, {}}, &pairs, 16},
      {{1, 3, 16, 16, true, {}}, &pairs, 16},        {{2, 5, 15, 15, true, {}}, &codes, 32},
      {{2, 12, 15, 15, true, {}}, &codes, 32},        {{3, 0, 15, 15, false, {}}, &codes, 32},
      {{15, 0, 24, 24, true, PicGenericFields(1, 1, 0, {})}, &wide, 32},
      {{15, 15, 12, 12, true, PicGenericFields(3, 4, 0, {})}, &codes, 32},
      {{15, 1, 8, 8, false, PicGenericFields(0, 0, 8, p.palette)}, &codes, 32},
      {{15, 0, 4, 4, false, PicGenericFields(2, 1, 5, palette16)}, &codes16, 32},
  };
  int n = 400;
  for (const Variant& v : variants) save(folder, "pic", n++, EncodePicCodes(v.width, 12, *v.codes, v.machine));
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
  savePicMachines(folder);
  Xld4Palette levels{};
  for (int i = 0; i < 16; ++i) levels.r[i] = levels.g[i] = levels.b[i] = static_cast<uint8_t>(i);
  for (int s = 0; s < 3; ++s) {
    IndexedPicture q = MakePattern(640, 400, 16, static_cast<uint32_t>(s));
    for (std::size_t i = 300 * 640; i < q.pixels.size(); ++i) q.pixels[i] = static_cast<uint8_t>((i / 640 / (s + 1)) % 16);
    save(folder, "xld4", s, EncodeXld4(q.pixels, levels));
  }
  return 0;
}
