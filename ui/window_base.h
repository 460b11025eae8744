// The window base class: ties an object to its window through the window's slot 0
// and paints through an off-screen bitmap, so that every paint reaches the screen
// as one copy and nothing flickers.
#pragma once

#include <windows.h>

#include "core/handles.h"

namespace psu {

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Writes this object's address into slot 0 of hwnd (nothing without a window).
  void Attach();
  // Invalidates the whole window and repaints it at once.
  void Redraw();
  // Returns the memory context to draw a paint of width x height into. The
  // off-screen bitmap is kept while the size stays, recreated when it changes.
  HDC BeginOffscreen(HDC paintDc, int width, int height);
  // Copies the whole off-screen bitmap to the paint's context at (0, 0).
  void PresentOffscreen();
  // A whole paint: begins it, and returns the off-screen context sized to the client
  // area (given back in client); EndOffscreenPaint copies it to the screen and ends it.
  HDC BeginOffscreenPaint(PAINTSTRUCT& paint, RECT& client);
  void EndOffscreenPaint(const PAINTSTRUCT& paint);
  // A logical-font record describing font, measured on this window's context.
  LOGFONTW DescribeFont(HFONT font) const;

  HWND hwnd = nullptr;
  // Written back into slot 0 when the window is torn down, so slot 0 ends at 0.
  LONG_PTR savedLong = 0;

 protected:
  HDC targetDC = nullptr;
  int offscreenWidth = 0;
  int offscreenHeight = 0;

 private:
  void ReleaseOffscreen();

  UniqueMemoryDc memoryDC;
  HGDIOBJ displacedBitmap = nullptr;
  UniqueGdiObject offscreenBitmap;
};

}  // namespace psu

// The object in slot 0 of window when it is a T; null when the slot is empty or
// holds an object of another class.
template <typename T>
T* WindowObject(HWND window) {
  auto* object = reinterpret_cast<psu::CWnd*>(GetWindowLongPtrW(window, 0));
  return object ? dynamic_cast<T*>(object) : nullptr;
}
