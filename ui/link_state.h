// The mouse rules of the link control, free of window calls: when the underline
// shows, when the mouse capture is taken and released, and when a click counts.
#pragma once

#include <windows.h>

enum class CaptureChange { None, Take, Release };

struct LinkState {
  bool hover = false;     // the mouse was over the text at the last mouse move
  bool captured = false;  // the control holds the mouse capture
};

struct LinkStep {
  CaptureChange capture = CaptureChange::None;
  bool redraw = false;
  bool click = false;  // send the parent the command
};

// A mouse move to client point (x, y), each taken as an unsigned 16-bit value, so
// positions left of or above the control count as outside.
LinkStep LinkMouseMove(LinkState& state, const RECT& textRect, WORD x, WORD y);
// The left button released: a click exactly when the mouse is over the text.
LinkStep LinkButtonUp(LinkState& state);

// The text is underlined while the mouse is over it and the capture is held.
inline bool LinkUnderlined(const LinkState& state) { return state.hover && state.captured; }

// Where measured text goes in a client area of height clientHeight:
// vertically centred when it is lower than the area, else at the top.
RECT CentreTextRect(const RECT& measured, int clientHeight);
