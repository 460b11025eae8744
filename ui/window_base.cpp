#include "ui/window_base.h"

#include "ui/paint_probe.h"

namespace psu {

CWnd::~CWnd() {
  ReleaseOffscreen();
  targetDC = nullptr;
}

void CWnd::Attach() {
  if (!hwnd) return;
  savedLong = 0;
  SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::Redraw() { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

void CWnd::ReleaseOffscreen() {
  // The bitmap can only be deleted once it is no longer selected.
  if (memoryDC) SelectObject(memoryDC.Get(), displacedBitmap);
  displacedBitmap = nullptr;
  offscreenBitmap.Reset();
  memoryDC.Reset();
  offscreenWidth = 0;
  offscreenHeight = 0;
}

HDC CWnd::BeginOffscreen(HDC paintDc, int width, int height) {
  targetDC = paintDc;
  CountForTests(hwnd, ProbePaints);
  if (memoryDC && width == offscreenWidth && height == offscreenHeight) return memoryDC.Get();
  ReleaseOffscreen();
  memoryDC.Reset(CreateCompatibleDC(paintDc));
  offscreenBitmap.Reset(CreateCompatibleBitmap(paintDc, width, height));
  if (memoryDC) displacedBitmap = SelectObject(memoryDC.Get(), offscreenBitmap.Get());
  offscreenWidth = width;
  offscreenHeight = height;
  CountForTests(hwnd, ProbeOffscreenBitmaps);
  return memoryDC.Get();
}

void CWnd::PresentOffscreen() {
  if (!targetDC || !memoryDC) return;
  // The picture is drawn left to right; a mirrored window's paint context would flip
  // it on the way to the screen unless told to keep the bitmap's orientation.
  DWORD layout = GetLayout(targetDC);
  bool mirrored = layout != GDI_ERROR && (layout & LAYOUT_RTL);
  if (mirrored) SetLayout(targetDC, layout | LAYOUT_BITMAPORIENTATIONPRESERVED);
  BitBlt(targetDC, 0, 0, offscreenWidth, offscreenHeight, memoryDC.Get(), 0, 0, SRCCOPY);
  if (mirrored) SetLayout(targetDC, layout);
  CountForTests(hwnd, ProbePresents);
}

HDC CWnd::BeginOffscreenPaint(PAINTSTRUCT& paint, RECT& client) {
  HDC paintDc = BeginPaint(hwnd, &paint);
  GetClientRect(hwnd, &client);
  return BeginOffscreen(paintDc, client.right - client.left, client.bottom - client.top);
}

void CWnd::EndOffscreenPaint(const PAINTSTRUCT& paint) {
  PresentOffscreen();
  EndPaint(hwnd, &paint);
}

LOGFONTW CWnd::DescribeFont(HFONT font) const {
  LOGFONTW record = {};
  WindowDc dc(hwnd);
  if (!dc.Get()) return record;
  SelectionGuard selected(dc.Get(), font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc.Get(), &metrics);
  GetTextFaceW(dc.Get(), LF_FACESIZE, record.lfFaceName);
  record.lfHeight = metrics.tmHeight;
  record.lfWidth = metrics.tmAveCharWidth;
  record.lfWeight = metrics.tmWeight;
  record.lfItalic = metrics.tmItalic;
  record.lfUnderline = metrics.tmUnderlined;
  record.lfStrikeOut = metrics.tmStruckOut;
  record.lfPitchAndFamily = metrics.tmPitchAndFamily;
  record.lfCharSet = DEFAULT_CHARSET;
  return record;
}

}  // namespace psu
