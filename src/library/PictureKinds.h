// Which files of a folder are pictures: the extensions Glimora reads itself,
// and those of the plug-ins that can be found where the program loads them.
#pragma once
#include <string>

#include "picture/Decoders.h"

namespace library {

class PictureKinds {
 public:
  // Looks for every plug-in once per process (beside the program, then the
  // system's search path), as a load would find it.
  static const PictureKinds& Installed();
  // Every kind, plug-ins or not.
  static PictureKinds All();

  // True for a file name (no folder) whose extension names a kind that is read.
  bool IsPicture(const std::wstring& fileName) const;

 private:
  bool readable_[picture::kDecoderKinds] = {};
};

}  // namespace library
