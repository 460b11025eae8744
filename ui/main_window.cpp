#include "ui/main_window.h"

#include "core/installer.h"

bool CreateMainWindow(HINSTANCE, int) { return false; }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MainWindowHandle(CInstaller&) { return nullptr; }

HWND HandOverStatus(CInstaller&, const std::wstring&) { return nullptr; }
