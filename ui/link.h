// The link control (window class "KAVRO.Link"): one line of blue text, underlined
// while the mouse is over it, that reports a click to its parent like a button.
#pragma once

#include <windows.h>

#include "core/handles.h"
#include "ui/link_state.h"
#include "ui/window_base.h"

inline constexpr wchar_t LinkClassName[] = L"KAVRO.Link";

// Registers the link class; registering a second time fails harmlessly.
void RegisterLinkClass();
LRESULT CALLBACK LinkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class CLink : public psu::CWnd {
 public:
  ~CLink() override = default;

  // Builds the plain and the underlined font from font; redraws when asked.
  void SetFonts(HFONT font, bool redraw);
  void Paint();
  void MouseMove(WORD x, WORD y);
  void ButtonUp();

  const RECT& TextRect() const { return textRect; }
  bool rightToLeft = false;  // draw with right-to-left reading order

 private:
  void ApplyCapture(CaptureChange change);

  UniqueGdiObject font;
  UniqueGdiObject underlinedFont;
  RECT textRect = {};
  LinkState state;
};
