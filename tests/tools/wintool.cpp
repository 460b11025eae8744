// A test tool that runs beside the installer under the same wineserver and looks at
// or acts on its windows, the way a user or an administrator would see them.
//   wintool wait <title> <ms>        find a top-level window by exact title; print
//                                    "hwnd pid" and the texts of its children
//   wintool close <title> <ms>       wait for the window, then close it
//   wintool press <title> <id> <ms>  wait, then post the command of the child with that id
//   wintool click <title> <id> <ms>  wait, then click the child button (BM_CLICK)
//   wintool hold <title>             show a top-level window with this title until killed
//   wintool list                     print every visible top-level window
//   wintool lock <path>              hold the file open without sharing until killed
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  if (wcscmp(text, search->title) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(const wchar_t* title, DWORD milliseconds) {
  DWORD start = GetTickCount();
  do {
    Search search = {title, nullptr};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
}

void PrintUtf8(const wchar_t* text) {
  char buffer[4096];
  int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer), nullptr, nullptr);
  if (length > 0) fputs(buffer, stdout);
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  wchar_t text[2048] = L"";
  wchar_t className[64] = L"";
  GetWindowTextW(child, text, 2048);
  GetClassNameW(child, className, 64);
  printf("child %d ", GetDlgCtrlID(child));
  PrintUtf8(className);
  printf(" %s %s ", IsWindowVisible(child) ? "visible" : "hidden", IsWindowEnabled(child) ? "enabled" : "disabled");
  PrintUtf8(text);
  printf("\n");
  return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  printf("%p %lu ", static_cast<void*>(window), pid);
  PrintUtf8(text);
  printf("\n");
  return TRUE;
}

int Hold(const wchar_t* title) {
  HWND window = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (!window) return 1;
  printf("ready\n");
  fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

int Lock(const wchar_t* path) {
  HANDLE file =
      CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  printf("ready\n");
  fflush(stdout);
  Sleep(INFINITE);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring command = argv[1];
  if (command == L"list") return EnumWindows(PrintTopLevel, 0), 0;
  if (command == L"hold" && argc == 3) return Hold(argv[2]);
  if (command == L"lock" && argc == 3) return Lock(argv[2]);
  if (argc < 4) return 2;
  DWORD timeout = static_cast<DWORD>(_wtoi(argv[argc - 1]));
  HWND window = WaitForWindow(argv[2], timeout);
  if (!window) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  printf("%p %lu\n", static_cast<void*>(window), pid);
  EnumChildWindows(window, PrintChild, 0);
  fflush(stdout);
  if (command == L"close") PostMessageW(window, WM_CLOSE, 0, 0);
  if (command == L"click" && argc == 5) {
    HWND button = GetDlgItem(window, _wtoi(argv[3]));
    if (!button) return 3;
    SendMessageW(button, BM_CLICK, 0, 0);
  }
  if (command == L"press" && argc == 5) {
    HWND button = GetDlgItem(window, _wtoi(argv[3]));
    if (!button) return 3;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
  return 0;
}
