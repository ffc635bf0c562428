// Raised by the native readers when a file's contents are not a valid image
// of its kind; the picture component turns it into Error 2.
#pragma once
#include <stdexcept>

namespace picture {

class InvalidGraphic : public std::runtime_error {
 public:
  explicit InvalidGraphic(const char* what) : std::runtime_error(what) {}
};

}  // namespace picture
