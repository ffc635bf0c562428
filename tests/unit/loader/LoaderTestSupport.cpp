#include "LoaderTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace loader_test {

std::string Files() { return "..\\tests\\loader\\"; }

Image ReadPpm(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::string magic;
  Image image;
  int maxValue = 0;
  in >> magic >> image.width >> image.height >> maxValue;
  in.get();
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (magic != "P6" || bytes.size() < static_cast<size_t>(image.width) * image.height * 3) return Image();
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  for (size_t i = 0; i < image.pixels.size(); ++i)
    image.pixels[i] = bytes[3 * i] << 16 | bytes[3 * i + 1] << 8 | bytes[3 * i + 2];
  return image;
}

Image Pixels(const picture::LoadedPicture& picture) {
  Image image;
  image.width = picture.width;
  image.height = picture.height;
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  BITMAPINFOHEADER h = {};
  h.biSize = sizeof h;
  h.biWidth = image.width;
  h.biHeight = -image.height;
  h.biPlanes = 1;
  h.biBitCount = 32;
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, picture.bitmap.get(), 0, image.height, image.pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS);
  DeleteDC(dc);
  for (uint32_t& p : image.pixels) p &= 0xFFFFFF;
  return image;
}

Image BoxReference(const Image& source, int width, int height) {
  Image out;
  out.width = width;
  out.height = height;
  const double fx = static_cast<double>(source.width) / width;
  const double fy = static_cast<double>(source.height) / height;
  for (int y = 0; y < height; ++y) {
    const double top = y * fy, bottom = (y + 1) * fy;
    for (int x = 0; x < width; ++x) {
      const double left = x * fx, right = (x + 1) * fx;
      double sum[3] = {0, 0, 0};
      for (int sy = static_cast<int>(top); sy < source.height && sy < bottom; ++sy) {
        const double wy = std::fmin(bottom, sy + 1.0) - std::fmax(top, static_cast<double>(sy));
        for (int sx = static_cast<int>(left); sx < source.width && sx < right; ++sx) {
          const double w = wy * (std::fmin(right, sx + 1.0) - std::fmax(left, static_cast<double>(sx)));
          const uint32_t p = source.At(sx, sy);
          for (int c = 0; c < 3; ++c) sum[c] += w * ((p >> (8 * c)) & 0xFF);
        }
      }
      uint32_t pixel = 0;
      for (int c = 0; c < 3; ++c)
        pixel |= static_cast<uint32_t>(std::lround(sum[c] / (fx * fy))) << (8 * c);
      out.pixels.push_back(pixel);
    }
  }
  return out;
}

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

double MeanDifference(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return -1;
  double total = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int s = 0; s < 24; s += 8) total += std::abs(Channel(a.pixels[i], s) - Channel(b.pixels[i], s));
  return total / (3.0 * a.pixels.size());
}

int MaxDifference(const Image& a, const Image& b) {
  int most = 0;
  for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i)
    for (int s = 0; s < 24; s += 8)
      most = std::max(most, std::abs(Channel(a.pixels[i], s) - Channel(b.pixels[i], s)));
  return most;
}

Receiver::Receiver() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LoaderTestReceiver";
  RegisterClassA(&wc);
  hwnd_ = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Receiver::~Receiver() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Receiver::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kMessage) {
    auto* self = reinterpret_cast<Receiver*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
      ++self->received_;
      self->lastTicket_ = static_cast<unsigned>(lp);
      self->arrived_ = true;
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool Receiver::Wait(DWORD timeoutMs, unsigned* ticket) {
  arrived_ = false;
  const DWORD start = GetTickCount();
  while (!arrived_ && GetTickCount() - start < timeoutMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  }
  if (arrived_ && ticket) *ticket = lastTicket_;
  return arrived_;
}

}  // namespace loader_test
