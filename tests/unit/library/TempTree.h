// A folder of real files under the system's temporary folder, removed again
// when the test ends. Paths are wide, so names outside the ANSI code page
// and paths beyond MAX_PATH can be made.
#pragma once
#include <string>

namespace library_test {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The root, with a trailing backslash.
  const std::wstring& Root() const { return root_; }
  std::string RootAnsi() const;
  // Makes a file (and the folders above it) below the root; rel uses "\".
  void File(const std::wstring& rel);
  void Folder(const std::wstring& rel);

 private:
  std::wstring root_;
};

// Removes a folder and everything in it (links are removed, not followed).
void RemoveTree(const std::wstring& path);

}  // namespace library_test
