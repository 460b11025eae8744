// The sample product's hosting application. It creates the control's class, records
// how it was started (its command line and whether the control could be created) in
// a file beside itself, and shows a window that says it runs.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "sample_ids.h"

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring text(path, length);
  return text.substr(0, text.rfind(L'\\') + 1);
}

std::wstring CreateControl() {
  IUnknown* control = nullptr;
  HRESULT result = CoCreateInstance(CLSID_VeridaneScanner, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                    reinterpret_cast<void**>(&control));
  if (FAILED(result)) {
    wchar_t text[64];
    swprintf(text, 64, L"control=failed 0x%08lx", static_cast<unsigned long>(result));
    return text;
  }
  control->Release();
  return L"control=created";
}

void Record(const std::wstring& text) {
  std::wstring path = OwnFolder() + kStartRecordName;
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    DrawTextW(dc, L"KAVRO Veridane is running.", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  CoInitialize(nullptr);
  Record(std::wstring(GetCommandLineW()) + L"\r\n" + CreateControl() + L"\r\n");

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"VeridaneSampleApp";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"VeridaneSampleApp", L"KAVRO Veridane", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 360, 160, nullptr, nullptr, instance, nullptr);
  if (window) {
    ShowWindow(window, showCommand);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  }
  CoUninitialize();
  return 0;
}
