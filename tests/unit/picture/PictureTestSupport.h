// Helpers of the picture component tests: message boxes answered by a
// helper thread, a hook counting MessageBeep, the stand-in plug-ins'
// controls, pixel read-back and test files.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "picture/All.h"

namespace picture_test {

// One message box that a load showed.
struct Box {
  std::string caption;
  std::string text;
  bool hasIcon = false;
  std::vector<std::string> buttons;  // captions of the visible buttons
  long beepsBefore = 0;              // MessageBeep(MB_ICONEXCLAMATION) calls before it appeared
};

// Runs action on this thread while a helper thread reads and answers (OK)
// every message dialog of this process that appears meanwhile.
std::vector<Box> WithBoxes(const std::function<void()>& action);

// MessageBeep calls (by any code of this program) with MB_ICONEXCLAMATION
// since the hook was installed; the hook replaces the import, so no sound.
void InstallBeepHook();
long ExclamationBeeps();
long AllBeeps();

// Sets the stand-in plug-ins' answers for the next calls (see StandIn.cpp)
// and clears their call log.
void StandIn(const std::string& control);
std::string StandInLog();

// The folder of the test files ImageMagick made, with a trailing "\".
std::string Fixtures();
// A scratch folder for files the tests write, with a trailing "\".
std::string Scratch();
void WriteFile(const std::string& name, const std::vector<BYTE>& bytes);

// An RGB image: what a file holds or what the component shows.
struct Image {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;  // top row first
  COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};
Image ReadPpm(const std::string& name);
// The picture as the canvas shows it.
Image Shown(TAll& picture);
// Position of the first pixel where a and b differ, or "" when they match.
std::string FirstDifference(const Image& a, const Image& b, int tolerance = 0);

// Entries of a logical palette (0 for none).
int PaletteEntries(HPALETTE palette);

}  // namespace picture_test
