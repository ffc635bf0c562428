// What the pages need to take files dragged from Explorer: what a dropped
// path is, and one short message naming what a list could not take.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

bool IsFolder(const std::string& path);
bool HasExtension(const std::string& path, std::initializer_list<const char*> extensions);
// The first few names, then how many more; nothing when leftOut is empty.
void ReportLeftOut(HWND owner, const std::vector<std::string>& leftOut, const char* reason);
