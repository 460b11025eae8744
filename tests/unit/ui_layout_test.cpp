#include <gtest/gtest.h>

#include "ui/main_layout.h"

namespace {

bool SameBox(const Box& a, const Box& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

TEST(MainLayout, NominalClientAreaGivesTheDocumentedRectangles) {
  const RECT client = {0, 0, 540, 335};
  const int w = 150;  // width of the proxy box's text
  MainLayout layout = ComputeMainLayout(client, w);
  EXPECT_TRUE(SameBox(Box{36, 174, 483, 15}, layout.progressBar));
  EXPECT_TRUE(SameBox(Box{422, 262, 93, 23}, layout.startButton));
  EXPECT_TRUE(SameBox(Box{15, 101, 525, 147}, layout.licenceText));
  EXPECT_TRUE(SameBox(Box{30, 262, 390, 23}, layout.acceptBox));
  EXPECT_TRUE(SameBox(Box{50, 262, w + 20, 23}, layout.proxyBox));
  EXPECT_TRUE(SameBox(Box{w + 71, 262, 351 - w, 23}, layout.link));
  // The link starts right of the box and ends where the Start button begins.
  EXPECT_GT(layout.link.left, layout.proxyBox.left + layout.proxyBox.width);
  EXPECT_EQ(layout.startButton.left, layout.link.left + layout.link.width);
}

TEST(MainLayout, FollowsAClientAreaOfAnotherSize) {
  MainLayout layout = ComputeMainLayout(RECT{0, 0, 600, 400}, 0);
  EXPECT_TRUE(SameBox(Box{482, 327, 93, 23}, layout.startButton));
  EXPECT_EQ(543, layout.progressBar.width);
  EXPECT_TRUE(SameBox(Box{71, 327, 411, 23}, layout.link));
}

TEST(MainLayout, PaintedElements) {
  const RECT client = {0, 0, 540, 335};
  EXPECT_EQ(27, StepImageLeft(34));
  RECT status = StatusLineRect(client);
  EXPECT_EQ(61, status.left);
  EXPECT_EQ(69, status.top);
  EXPECT_EQ(540, status.right);
  RECT steps = StepsTextRect(client);
  EXPECT_EQ(36, steps.left);
  EXPECT_EQ(111, steps.top);
  RECT note = NoteRect(client);
  EXPECT_EQ(36, note.left);
  EXPECT_EQ(210, note.top);
  EXPECT_EQ(519, note.right);
  EXPECT_EQ(335, note.bottom);
}

TEST(MainWindowPosition, CentredAcrossAndAtFortyFivePerCentDown) {
  struct Case {
    RECT area;
    int width, height;
    POINT expected;
  };
  const Case cases[] = {
      // 1024x768 screen, window 546x366: free height 402, 45 per cent of it is 180.9.
      {{0, 0, 1024, 768}, 546, 366, {239, 180}},
      // A work area that does not start at 0 (task bar at the top or left).
      {{100, 30, 1124, 798}, 546, 366, {339, 210}},
      // Odd differences round toward zero.
      {{0, 0, 1025, 767}, 546, 366, {239, 180}},
      // Screen smaller than the window: both offsets negative, still toward zero.
      {{0, 0, 500, 300}, 546, 366, {-23, -29}},
  };
  for (const Case& c : cases) {
    POINT p = MainWindowPosition(c.area, c.width, c.height);
    EXPECT_EQ(c.expected.x, p.x) << c.area.right << "x" << c.area.bottom;
    EXPECT_EQ(c.expected.y, p.y) << c.area.right << "x" << c.area.bottom;
  }
}

TEST(MainWindowPosition, UnknownAreaLeavesThePlaceToTheSystem) {
  POINT p = MainWindowPosition(RECT{0, 0, 0, 0}, 546, 366);
  EXPECT_EQ(CW_USEDEFAULT, p.x);
  EXPECT_EQ(CW_USEDEFAULT, p.y);
}

TEST(FitClientSize, KeepsTheFrameAndMakesTheClientAreaExact) {
  // A frame 3 wide and a caption of 19: outer 546x360 around a client of 540x335 stays.
  SIZE same = FitClientSize(RECT{10, 10, 556, 370}, RECT{0, 0, 540, 335});
  EXPECT_EQ(546, same.cx);
  EXPECT_EQ(360, same.cy);
  // Frame metrics that did not match: a client of 534x320 inside 546x360.
  SIZE fixed = FitClientSize(RECT{10, 10, 556, 370}, RECT{0, 0, 534, 320});
  EXPECT_EQ(552, fixed.cx);
  EXPECT_EQ(375, fixed.cy);
}

}  // namespace
