#include "ui/link_state.h"

LinkStep LinkMouseMove(LinkState& state, const RECT& textRect, WORD x, WORD y) {
  LinkStep step;
  POINT point = {x, y};
  bool inside = PtInRect(&textRect, point) != FALSE;
  if (inside == state.hover) return step;
  state.hover = inside;
  if (state.captured != inside) {
    step.capture = inside ? CaptureChange::Take : CaptureChange::Release;
    state.captured = inside;
  }
  step.redraw = true;
  return step;
}

LinkStep LinkButtonUp(LinkState& state) {
  LinkStep step;
  if (!state.hover) return step;
  if (state.captured) {
    step.capture = CaptureChange::Release;
    state.captured = false;
  }
  // hover stays set: no new capture until a move off the text has cleared it.
  step.redraw = true;
  step.click = true;
  return step;
}

RECT CentreTextRect(const RECT& measured, int clientHeight) {
  RECT placed = measured;
  int height = measured.bottom - measured.top;
  if (height < clientHeight) {
    placed.top = (clientHeight - height) / 2;
    placed.bottom = placed.top + height;
  }
  return placed;
}
