// The installer's main window: the licence view, or the auto-start form that
// follows the worker.
#pragma once

#include <windows.h>

#include <string>

class CInstaller;

// Sent by the worker's status hand-over: the status line changed.
inline constexpr UINT WM_STATUS_CHANGED = WM_USER + 1;

// Creates and shows the main window. False when it could not be created.
bool CreateMainWindow(HINSTANCE instance, int showCommand);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's handle, or null when there is no window.
HWND MainWindowHandle(CInstaller& installer);

// Copies a status text into the main window's own status line. Returns the window
// to notify, or null when there is no window. Safe against a window being deleted.
HWND HandOverStatus(CInstaller& installer, const std::wstring& text);
