// Where the image test display goes: in the part of the screen that the task
// bar leaves free, shrunk to that part when the window is larger.
#pragma once
#include <windows.h>

struct WindowBounds {
  int left, top, width, height;  // outer size, frame and caption included
};

// taskBar is the task bar's screen rectangle, or nullptr when there is none;
// then, and when the task bar sits on no edge, the window keeps its bounds.
WindowBounds PlaceBesideTaskBar(int screenWidth, int screenHeight, const RECT* taskBar,
                                WindowBounds window);
