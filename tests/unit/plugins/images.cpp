#include "images.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace spitest {

std::string DataFile(const std::string& name) {
  const char* dir = std::getenv("GLIMORA_PLUGIN_DATA");
  return std::string(dir != nullptr ? dir : ".") + "\\" + name;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
  }
  return bytes;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

namespace {

// Skips blanks and # comments of a PNM header, then reads a number.
bool HeaderNumber(const std::vector<uint8_t>& b, size_t& at, int& value) {
  while (at < b.size() && (std::isspace(b[at]) || b[at] == '#')) {
    if (b[at] == '#')
      while (at < b.size() && b[at] != '\n') ++at;
    else
      ++at;
  }
  if (at >= b.size() || !std::isdigit(b[at])) return false;
  value = 0;
  while (at < b.size() && std::isdigit(b[at])) value = value * 10 + (b[at++] - '0');
  return true;
}

}  // namespace

Reference ReferenceFor(const std::string& picture) {
  Reference ref;
  const std::vector<uint8_t> b = ReadBytes(DataFile(picture + ".pnm"));
  if (b.size() < 3 || b[0] != 'P' || b[1] < '4' || b[1] > '6') return ref;
  const char kind = static_cast<char>(b[1]);
  size_t at = 2;
  int w = 0, h = 0, maxval = 1;
  if (!HeaderNumber(b, at, w) || !HeaderNumber(b, at, h) ||
      (kind != '4' && (!HeaderNumber(b, at, maxval) || maxval != 255)))
    return ref;
  ++at;  // the one blank before the samples
  const size_t rowBytes = kind == '4' ? (w + 7) / 8 : static_cast<size_t>(w) * (kind == '5' ? 1 : 3);
  if (b.size() < at + rowBytes * h) return ref;
  ref.width = w;
  ref.height = h;
  ref.rgb.resize(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = &b[at + rowBytes * y];
    for (int x = 0; x < w; ++x) {
      uint8_t* to = &ref.rgb[(static_cast<size_t>(y) * w + x) * 3];
      if (kind == '6') {
        to[0] = row[x * 3], to[1] = row[x * 3 + 1], to[2] = row[x * 3 + 2];
      } else {
        const uint8_t v = kind == '5' ? row[x] : ((row[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255);
        to[0] = to[1] = to[2] = v;
      }
    }
  }
  return ref;
}

void WritePpm(const std::string& path, const Picture& picture) {
  std::string header = "P6\n" + std::to_string(picture.width) + " " +
                       std::to_string(picture.height) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), picture.rgb.begin(), picture.rgb.end());
  WriteBytes(path, bytes);
}

Difference Compare(const Picture& picture, const Reference& ref) {
  Difference d;
  if (picture.rgb.size() != ref.rgb.size() || ref.rgb.empty()) return {256, 256.0, 1.0};
  double sum = 0;
  size_t over = 0;
  for (size_t i = 0; i < ref.rgb.size(); ++i) {
    const int diff = std::abs(int(picture.rgb[i]) - int(ref.rgb[i]));
    if (diff > d.max) d.max = diff;
    if (diff > 8) ++over;
    sum += diff;
  }
  d.mean = sum / ref.rgb.size();
  d.over8 = static_cast<double>(over) / ref.rgb.size();
  return d;
}

}  // namespace spitest
