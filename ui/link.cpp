#include "ui/link.h"

#include <string>

#include "ui/ui_instance.h"

namespace {

const COLORREF kLinkBlue = RGB(0, 0, 238);
const int kLinkTextSize = 260;

}  // namespace

void RegisterLinkClass() {
  WNDCLASSW linkClass = {};
  linkClass.lpfnWndProc = LinkWindowProc;
  linkClass.cbWndExtra = sizeof(LONG_PTR);
  linkClass.hInstance = UiInstance();
  linkClass.lpszClassName = LinkClassName;
  RegisterClassW(&linkClass);
}

void CLink::SetFonts(HFONT source, bool redraw) {
  LOGFONTW record = DescribeFont(source);
  font.Reset(CreateFontIndirectW(&record));
  record.lfUnderline = 1;
  underlinedFont.Reset(CreateFontIndirectW(&record));
  if (redraw) Redraw();
}

void CLink::Paint() {
  PAINTSTRUCT paint;
  RECT client;
  HDC dc = BeginOffscreenPaint(paint, client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  COLORREF previousColour = SetTextColor(dc, kLinkBlue);
  {
    HGDIOBJ chosen = LinkUnderlined(state) ? underlinedFont.Get() : font.Get();
    SelectionGuard selected(dc, chosen);
    wchar_t text[kLinkTextSize] = L"";
    GetWindowTextW(hwnd, text, kLinkTextSize);
    if (text[0]) {
      RECT measured = client;
      DrawTextW(dc, text, -1, &measured, DT_CALCRECT);
      textRect = CentreTextRect(measured, client.bottom - client.top);
      DrawTextW(dc, text, -1, &textRect, rightToLeft ? DT_RTLREADING : 0);
    } else {
      textRect = RECT{};
    }
  }
  SetTextColor(dc, previousColour);
  EndOffscreenPaint(paint);
}

void CLink::ApplyCapture(CaptureChange change) {
  if (change == CaptureChange::Take) SetCapture(hwnd);
  if (change == CaptureChange::Release) ReleaseCapture();
}

void CLink::MouseMove(WORD x, WORD y) {
  LinkStep step = LinkMouseMove(state, textRect, x, y);
  ApplyCapture(step.capture);
  if (step.redraw) Redraw();
}

void CLink::ButtonUp() {
  LinkStep step = LinkButtonUp(state);
  ApplyCapture(step.capture);
  if (step.redraw) Redraw();
  if (step.click) {
    int id = GetDlgCtrlID(hwnd);
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  }
}

LRESULT CALLBACK LinkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CLink* link = WindowObject<CLink>(window);
  if (!link) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_SETFONT:
      link->SetFonts(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      break;
    case WM_PAINT:
      link->Paint();
      return 0;
    case WM_MOUSEMOVE:
      link->MouseMove(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_LBUTTONUP:
      link->ButtonUp();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
