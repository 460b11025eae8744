#include "ui/paint_probe.h"

#if defined(VERIDANE_TEST_SEAMS)
void CountForTests(HWND window, const wchar_t* counter) {
  if (!window) return;
  auto count = reinterpret_cast<ULONG_PTR>(GetPropW(window, counter));
  SetPropW(window, counter, reinterpret_cast<HANDLE>(count + 1));
}
#endif
