// IWICBitmapSourceTransform, which the MinGW headers lack: a decoder's own
// scaled decoding (the JPEG decoder of Windows decodes at 1/2, 1/4, 1/8).
#pragma once
#include <wincodec.h>

namespace wic {

struct IBitmapSourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                               WICPixelFormatGUID* format,
                                               WICBitmapTransformOptions transform, UINT stride,
                                               UINT size, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                         BOOL* supported) = 0;
};

// {3B16811B-6A43-4EC9-B713-3D5A0C13B940}
constexpr IID kIIDBitmapSourceTransform = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

}  // namespace wic
