// Where the main window goes and where its parts sit: pure arithmetic on
// rectangles, so that it can be tested without windows.
#pragma once

#include <windows.h>

inline constexpr int MainClientWidth = 540;
inline constexpr int MainClientHeight = 335;

// A control's place: left, top, width, height in client coordinates.
struct Box {
  int left;
  int top;
  int width;
  int height;
};

struct MainLayout {
  Box progressBar;  // 104
  Box startButton;  // 105 and 109
  Box licenceText;  // 106
  Box acceptBox;    // 107
  Box proxyBox;     // 108
  Box link;         // 110
};

// The controls' places in client rectangle client; proxyLabelWidth is the width of
// the proxy box's text (0 when it could not be measured).
MainLayout ComputeMainLayout(const RECT& client, int proxyLabelWidth);

// Rectangles of the painted texts and the x of the step image.
RECT StatusLineRect(const RECT& client);
RECT StepsTextRect(const RECT& client);
RECT NoteRect(const RECT& client);
int StepImageLeft(int imageWidth);

// Top-left corner of a window of outer size (width, height) in screen area area:
// centred across, at 45 per cent of the free height down. CW_USEDEFAULT for both
// when the area is unknown (its right edge is 0).
POINT MainWindowPosition(const RECT& area, int width, int height);

// Outer size that gives a client area of 540 by 335, from the current outer and
// client rectangles.
SIZE FitClientSize(const RECT& outer, const RECT& client);
