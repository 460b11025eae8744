#include "ui/main_layout.h"

MainLayout ComputeMainLayout(const RECT& c, int w) {
  const int width = c.right - c.left;
  const int buttonTop = c.bottom - 73;
  const int startLeft = c.right - 118;
  MainLayout layout;
  layout.progressBar = {36, 174, width - 57, 15};
  layout.startButton = {startLeft, buttonTop, 93, 23};
  layout.licenceText = {15, 101, width - 15, 147};
  layout.acceptBox = {30, buttonTop, c.right - 150, 23};
  layout.proxyBox = {50, buttonTop, w + 20, 23};
  layout.link = {w + 71, buttonTop, startLeft - (w + 71), 23};
  return layout;
}

RECT StatusLineRect(const RECT& c) { return RECT{61, 69, c.right, c.bottom}; }

RECT StepsTextRect(const RECT& c) { return RECT{c.left + 36, c.top + 111, c.right, c.bottom}; }

RECT NoteRect(const RECT& c) { return RECT{36, 210, c.right - 21, c.bottom}; }

int StepImageLeft(int imageWidth) { return 61 - imageWidth; }

POINT MainWindowPosition(const RECT& area, int width, int height) {
  if (area.right == 0) return POINT{CW_USEDEFAULT, CW_USEDEFAULT};
  POINT position;
  position.x = area.left + (area.right - area.left - width) / 2;
  int free = area.bottom - area.top - height;
  position.y = area.top - static_cast<int>(free * 0.5 * -0.9);
  return position;
}

SIZE FitClientSize(const RECT& outer, const RECT& client) {
  SIZE size;
  size.cx = (outer.right - outer.left) - (client.right - client.left) + MainClientWidth;
  size.cy = (outer.bottom - outer.top) - (client.bottom - client.top) + MainClientHeight;
  return size;
}
