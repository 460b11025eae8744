#include "ui/paint_probe.h"

#if defined(VERIDANE_TEST_SEAMS)
void CountForTests(HWND window, const wchar_t* counter) {
  if (!window) return;
  auto count = reinterpret_cast<ULONG_PTR>(GetPropW(window, counter));
  SetPropW(window, counter, reinterpret_cast<HANDLE>(count + 1));
}

void RecordTextForTests(HWND window, const wchar_t* name, const std::wstring& text) {
  if (!window) return;
  auto previous = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, name)));
  ATOM atom = text.empty() ? 0 : GlobalAddAtomW(text.substr(0, 255).c_str());
  if (previous) GlobalDeleteAtom(previous);
  SetPropW(window, name, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}
#endif
