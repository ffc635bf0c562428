// COM on the calling thread for as long as the object lives. A thread that
// already chose another apartment keeps it; only a successful start of our
// own is undone.
#pragma once
#include <windows.h>
#include <objbase.h>

namespace forms {

class ComApartment {
 public:
  explicit ComApartment(DWORD mode = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, mode)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT hr_;
};

}  // namespace forms
