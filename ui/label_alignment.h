// The proxy dialog's label column arithmetic: as wide as the widest label text.
#pragma once

#include <vector>

struct LabelAlignment {
  bool change = false;  // false: the column already fits, nothing moves
  int columnWidth = 0;  // new width of every label
  int delta = 0;        // how far the fields, the buttons and the dialog's right edge move
};

// textWidths: the measured text width of each existing label (0 when the
// measurement failed); boxWidths: each label's current width, in pixels.
LabelAlignment AlignLabels(const std::vector<int>& textWidths, const std::vector<int>& boxWidths);
