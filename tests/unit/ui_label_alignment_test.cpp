#include <gtest/gtest.h>

#include "ui/label_alignment.h"

namespace {

TEST(LabelAlignment, ColumnFollowsTheWidestTextPlusItsMargin) {
  struct Case {
    const char* name;
    std::vector<int> texts;
    std::vector<int> boxes;
    bool change;
    int column;
    int delta;
  };
  const Case cases[] = {
      {"wider text widens", {70, 40, 60, 150}, {129, 129, 129, 129}, true, 152, 23},
      {"short texts narrow", {50, 30, 40, 45}, {129, 129, 129, 129}, true, 52, -77},
      {"exact fit stays", {127, 30, 20, 10}, {129, 129, 129, 129}, false, 0, 0},
      {"widest box counts", {100}, {90, 129}, true, 102, -27},
      {"failed measurements count as 0", {0, 0, 0, 0}, {129, 129, 129, 129}, true, 2, -127},
      {"no labels at all", {}, {}, false, 0, 0},
  };
  for (const Case& c : cases) {
    LabelAlignment a = AlignLabels(c.texts, c.boxes);
    EXPECT_EQ(c.change, a.change) << c.name;
    if (!c.change) continue;
    EXPECT_EQ(c.column, a.columnWidth) << c.name;
    EXPECT_EQ(c.delta, a.delta) << c.name;
  }
}

}  // namespace
