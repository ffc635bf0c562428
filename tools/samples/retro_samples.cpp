// Writes one sample picture in each retro format (MAG, Pi, PIC, PIC2, XLD4)
// for the demonstration theme. Host program; usage: retro_samples <folder>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/retro_encoders.h"

namespace {

void Save(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    return;
  }
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// Concentric rings around two centres: smooth bands that show every codec path.
uint8_t Rings(int x, int y, int w, int h, int colours) {
  double a = std::hypot(x - w * 0.35, (y - h * 0.45) * 1.3);
  double b = std::hypot(x - w * 0.7, (y - h * 0.6) * 1.3);
  int v = static_cast<int>((a + b * 0.6) / 9.0);
  return static_cast<uint8_t>(v % colours);
}

retro_test::IndexedPicture Picture(int w, int h, int colours, double hueShift) {
  retro_test::IndexedPicture p;
  p.width = w;
  p.height = h;
  p.pixels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.pixels[static_cast<size_t>(y) * w + x] = Rings(x, y, w, h, colours);
  for (int i = 0; i < colours; ++i) {
    double t = hueShift + 6.2831853 * i / colours;
    auto c = [&](double phase) { return static_cast<uint32_t>(127.5 + 127.5 * std::sin(t + phase)); };
    p.palette.push_back((c(0) << 16) | (c(2.1) << 8) | c(4.2));
  }
  return p;
}

uint16_t ToX68k(uint32_t rgb) {
  uint16_t r = (rgb >> 19) & 31, g = (rgb >> 11) & 31, b = (rgb >> 3) & 31;
  return static_cast<uint16_t>((g << 11) | (r << 6) | (b << 1));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: retro_samples <folder>\n");
    return 2;
  }
  std::string dir = argv[1];

  // MAG, 16 colours, 200-line mode: shown twice as tall.
  retro_test::MagOptions mag;
  mag.lines200 = true;
  mag.comment = "Glimora sample";
  Save(dir + "/sample.mag", retro_test::EncodeMag(Picture(480, 160, 16, 0.0), mag));

  // Pi, 256 colours.
  Save(dir + "/sample.pi", retro_test::EncodePi(Picture(400, 300, 256, 1.0)));

  // X68000 PIC, 15-bit colour.
  {
    retro_test::IndexedPicture p = Picture(384, 256, 64, 2.0);
    std::vector<uint16_t> colours;
    for (uint8_t i : p.pixels) colours.push_back(ToX68k(p.palette[i]));
    Save(dir + "/sample.pic", retro_test::EncodePicDirect(p.width, p.height, colours, 15, "Glimora"));
  }

  // PIC2, 24-bit colour.
  {
    retro_test::IndexedPicture p = Picture(360, 240, 128, 3.0);
    std::vector<uint32_t> values;
    for (uint8_t i : p.pixels) values.push_back(p.palette[i]);
    Save(dir + "/sample.p2", retro_test::EncodePic2(p.width, p.height, values));
  }

  // XLD4: 640 x 400 in 16 colours.
  {
    retro_test::IndexedPicture p = Picture(640, 400, 16, 4.0);
    retro_test::Xld4Palette pal;
    for (int i = 0; i < 16; ++i) {
      pal.r[i] = static_cast<uint8_t>((p.palette[i] >> 20) & 15);
      pal.g[i] = static_cast<uint8_t>((p.palette[i] >> 12) & 15);
      pal.b[i] = static_cast<uint8_t>((p.palette[i] >> 4) & 15);
    }
    Save(dir + "/sample.q4", retro_test::EncodeXld4(p.pixels, pal));
  }
  return 0;
}
