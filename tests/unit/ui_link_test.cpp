#include <gtest/gtest.h>

#include "ui/link_state.h"

namespace {

const RECT kText = {0, 4, 60, 19};  // text rectangle inside a 200x23 control

struct Expect {
  CaptureChange capture;
  bool redraw;
  bool click;
  bool underlined;
};

void Check(const LinkStep& step, const LinkState& state, const Expect& e, const char* what) {
  EXPECT_EQ(e.capture, step.capture) << what;
  EXPECT_EQ(e.redraw, step.redraw) << what;
  EXPECT_EQ(e.click, step.click) << what;
  EXPECT_EQ(e.underlined, LinkUnderlined(state)) << what;
}

TEST(LinkRules, HoverUnderlinesAndLeavingInAnyDirectionClears) {
  struct Exit {
    const char* name;
    WORD x, y;
  };
  // Left of and above the control arrive as large unsigned values.
  const Exit exits[] = {{"right, inside the control", 150, 10}, {"below", 10, 40},
                        {"left of the control", 0xFFF6, 10},    {"above the control", 10, 0xFFFE},
                        {"right edge is outside", 60, 10},      {"bottom edge is outside", 10, 19}};
  for (const Exit& exit : exits) {
    LinkState state;
    Check(LinkMouseMove(state, kText, 10, 10), state, {CaptureChange::Take, true, false, true}, exit.name);
    Check(LinkMouseMove(state, kText, 20, 12), state, {CaptureChange::None, false, false, true}, exit.name);
    Check(LinkMouseMove(state, kText, exit.x, exit.y), state, {CaptureChange::Release, true, false, false}, exit.name);
    EXPECT_FALSE(state.hover) << exit.name;
  }
}

TEST(LinkRules, OnlyTheTextRectangleReacts) {
  LinkState state;
  Check(LinkMouseMove(state, kText, 150, 10), state, {CaptureChange::None, false, false, false}, "beside the text");
  Check(LinkButtonUp(state), state, {CaptureChange::None, false, false, false}, "release beside the text");
  RECT empty = {};
  Check(LinkMouseMove(state, empty, 0, 0), state, {CaptureChange::None, false, false, false}, "link without text");
}

TEST(LinkRules, ClickSendsOnceAndLeavesTheTextPlainUntilTheMouseLeavesIt) {
  LinkState state;
  LinkMouseMove(state, kText, 10, 10);
  Check(LinkButtonUp(state), state, {CaptureChange::Release, true, true, false}, "click");
  EXPECT_TRUE(state.hover);
  // Still over the text: no new capture, no underline; a second release clicks again
  // only because hover stays set, but never takes the capture.
  Check(LinkMouseMove(state, kText, 12, 11), state, {CaptureChange::None, false, false, false}, "move after click");
  // Off the text inside the control: hover clears, nothing to release.
  Check(LinkMouseMove(state, kText, 150, 10), state, {CaptureChange::None, true, false, false}, "off the text");
  // Back on the text: underlined and captured again.
  Check(LinkMouseMove(state, kText, 10, 10), state, {CaptureChange::Take, true, false, true}, "back on the text");
}

TEST(LinkRules, PressElsewhereReleaseOverTheHoveredTextClicks) {
  LinkState state;
  // The press happened outside; only the release reaches the link, over its text.
  LinkMouseMove(state, kText, 30, 10);
  EXPECT_TRUE(LinkButtonUp(state).click);
}

TEST(LinkRules, TextIsCentredVerticallyWhenLowerThanTheControl) {
  struct Case {
    RECT measured;
    int clientHeight;
    RECT expected;
  };
  const Case cases[] = {
      {{0, 0, 60, 15}, 23, {0, 4, 60, 19}},
      {{0, 0, 60, 16}, 23, {0, 3, 60, 19}},  // (23 - 16) / 2 rounds toward zero
      {{0, 0, 60, 23}, 23, {0, 0, 60, 23}},
      {{0, 0, 60, 30}, 23, {0, 0, 60, 30}},  // taller than the control: left at the top
  };
  for (const Case& c : cases) {
    RECT r = CentreTextRect(c.measured, c.clientHeight);
    EXPECT_EQ(c.expected.top, r.top) << c.measured.bottom;
    EXPECT_EQ(c.expected.bottom, r.bottom) << c.measured.bottom;
    EXPECT_EQ(c.expected.left, r.left);
    EXPECT_EQ(c.expected.right, r.right);
  }
}

}  // namespace
