// A file's bytes read whole, and written whole or not at all.
#pragma once
#include <string>

namespace settings {

// False when the file exists but cannot be read; a missing file reads as empty.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes the bytes to a new file in the same folder, reads them back, and
// only when they match puts that file in place of the old one in one step.
// On false the old file is as it was, no temporary file is left behind, and
// GetLastError() tells why the step that failed did.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);

// The folders that lead to the file, made where missing; false when one
// cannot be made.
bool MakeFoldersFor(const std::string& path);

}  // namespace settings
