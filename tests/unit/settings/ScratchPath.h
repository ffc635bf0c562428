// A settings file of a test's own, next to the test program.
#pragma once
#include <windows.h>

#include <string>

namespace settings_test {

inline std::string PathHere(const char* name) {
  char full[MAX_PATH];
  GetFullPathNameA(name, MAX_PATH, full, nullptr);
  return full;
}

}  // namespace settings_test
