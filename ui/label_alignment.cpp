#include "ui/label_alignment.h"

#include <algorithm>

namespace {
// Room for the static control's own margin beside the text.
const int kLabelMargin = 2;
}  // namespace

LabelAlignment AlignLabels(const std::vector<int>& textWidths, const std::vector<int>& boxWidths) {
  int textMax = 0;
  for (int width : textWidths) textMax = std::max(textMax, width + kLabelMargin);
  int boxMax = 0;
  for (int width : boxWidths) boxMax = std::max(boxMax, width);
  LabelAlignment result;
  if (textMax == boxMax) return result;
  result.change = true;
  result.columnWidth = textMax;
  result.delta = textMax - boxMax;
  return result;
}
