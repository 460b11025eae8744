#include "ui/main_window.h"

#include <commctrl.h>

#include <memory>

#include "core/installer.h"
#include "core/system_utilities.h"
#include "ui/download_wnd.h"
#include "ui/main_layout.h"
#include "ui/ui_instance.h"

namespace {

const DWORD kMainWindowStyle = WS_CLIPCHILDREN | WS_SYSMENU;
const int16_t kHebrew = 1037;

RECT ScreenArea() {
  RECT area = {};
  if (IsWindows2000OrLater()) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  } else {
    GetWindowRect(GetDesktopWindow(), &area);
  }
  return area;
}

void AttachWindowObject(HWND window) {
  if (GetWindowLongPtrW(window, 0) != 0) return;
  CInstaller& installer = TheInstaller();
  auto object = std::make_unique<CDownloadWnd>(window, installer);
  object->Attach();
  CDownloadWnd* attached = object.release();  // owned by the window from here on
  {
    std::lock_guard<std::mutex> lock(installer.windowLock);
    installer.window = attached;
  }
  attached->CreateChildWindows(installer.autoStart);
}

// The window's object goes with the window. The installer forgets it first, under
// the lock that the status hand-over takes, so no status reaches a deleted object.
void DeleteWindowObject(HWND window, CDownloadWnd* object) {
  CInstaller& installer = TheInstaller();
  {
    std::lock_guard<std::mutex> lock(installer.windowLock);
    if (installer.window == object) installer.window = nullptr;
  }
  SetWindowLongPtrW(window, 0, object->savedLong);
  delete object;
}

void FitClientArea(HWND window) {
  RECT outer;
  RECT client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  SIZE size = FitClientSize(outer, client);
  SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool CreateMainWindow(HINSTANCE instance, int showCommand) {
  SetUiInstance(instance);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  int width = MainClientWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME);
  int height = MainClientHeight + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME);
  POINT position = MainWindowPosition(ScreenArea(), width, height);
  DWORD exStyle = TheInstaller().language == kHebrew ? WS_EX_LAYOUTRTL | WS_EX_RTLREADING : 0;
  HWND window = CreateWindowExW(exStyle, windowClassName, windowTitle, kMainWindowStyle, position.x, position.y, width,
                                height, nullptr, nullptr, instance, nullptr);
  if (!window) return false;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDownloadWnd* self = WindowObject<CDownloadWnd>(window);
  if (!self && message != WM_CREATE) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      AttachWindowObject(window);
      break;
    case WM_SHOWWINDOW:
      FitClientArea(window);
      break;
    case WM_ERASEBKGND:
      // The paint covers the whole client area; erasing first would flash.
      return 1;
    case WM_PAINT:
      self->Paint();
      break;
    case WM_CLOSE:
      KillTimer(window, PollTimerId);
      break;
    case WM_NCDESTROY:
      DeleteWindowObject(window, self);
      PostQuitMessage(0);
      break;
    case WM_COMMAND:
      // The object may be gone when a command returns (the window closed).
      if (self->Command(LOWORD(wParam))) return 0;
      break;
    case WM_TIMER:
      if (wParam != PollTimerId) break;
      self->Tick();
      return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = self->ControlBrush(reinterpret_cast<HWND>(lParam))) return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_STATUS_CHANGED:
      self->Redraw();
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MainWindowHandle(CInstaller& installer) {
  std::lock_guard<std::mutex> lock(installer.windowLock);
  return installer.window ? installer.window->hwnd : nullptr;
}

HWND HandOverStatus(CInstaller& installer, const std::wstring& text) {
  std::lock_guard<std::mutex> lock(installer.windowLock);
  if (!installer.window) return nullptr;
  installer.window->SetStatusLine(text);
  return installer.window->hwnd;
}
