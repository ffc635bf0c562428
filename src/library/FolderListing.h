// One folder's contents as the walk needs them: picture candidates and
// subfolders, each in Explorer's order, read with the wide find functions so
// that names the ANSI code page cannot hold are seen (and can be counted).
#pragma once
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "forms/WideText.h"

namespace library {

struct FolderListing {
  std::vector<std::wstring> files;    // names only, in natural order
  std::vector<std::wstring> folders;  // names only, in natural order
};

// Lists path (a folder, with or without the trailing backslash; longer
// paths than MAX_PATH are fine). Hidden system entries (such as a drive's
// "System Volume Information") are left out, as Explorer leaves them out.
// False when the folder cannot be read.
bool ListFolder(const std::wstring& path, FolderListing& out);

// What a folder is on its volume, whatever name reaches it: junctions and
// links that lead back to a folder already walked give the same identity.
using FolderIdentity = std::tuple<DWORD, DWORD, DWORD>;
// False when the system cannot tell (the walk then relies on its depth limit).
bool IdentifyFolder(const std::wstring& path, FolderIdentity& out);

// The form of path the wide file functions take beyond MAX_PATH ("\\?\C:\..."
// or "\\?\UNC\server\..."); shorter paths are returned as they are.
std::wstring LongPathForm(const std::wstring& path);

// The exact conversions with the ANSI code page the walk names files by.
using forms::FromAnsi;
using forms::ToAnsi;

}  // namespace library
