// Errors raised by handlers. Their message (Shift-JIS) is what the user sees
// in the general error box; nothing else is attached.
#pragma once
#include <stdexcept>
#include <string>

namespace forms {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// printf-style formatting into a std::string (for messages such as "%s に書き込めません").
std::string Format(const char* format, ...);

}  // namespace forms
