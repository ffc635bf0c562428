// Helpers of the loader tests: the test files, pixels read back from a
// bitmap, an independent area-averaging reference and a window that
// receives the loader's messages.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/NativeFormats.h"

namespace loader_test {

// The folder the ctest step filled, with a trailing "\".
std::string Files();

// An RGB image, top row first, 0x00RRGGBB per pixel.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Image ReadPpm(const std::string& name);
Image Pixels(const picture::LoadedPicture& picture);
// Each target pixel the exact mean of the source rectangle it covers,
// computed in floating point from the pixel areas.
Image BoxReference(const Image& source, int width, int height);
// Mean absolute difference over all channels; -1 when the sizes differ.
double MeanDifference(const Image& a, const Image& b);
int MaxDifference(const Image& a, const Image& b);
int Channel(uint32_t pixel, int shift);

// A message-only window that counts the loader's messages.
class Receiver {
 public:
  static constexpr UINT kMessage = WM_APP + 7;
  Receiver();
  ~Receiver();
  HWND Handle() const { return hwnd_; }
  // Pumps messages until one arrives (true, its ticket in *ticket) or
  // timeoutMs pass (false).
  bool Wait(DWORD timeoutMs, unsigned* ticket);
  int Received() const { return received_; }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  int received_ = 0;
  unsigned lastTicket_ = 0;
  bool arrived_ = false;
};

}  // namespace loader_test
