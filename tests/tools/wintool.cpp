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
//   wintool state <title> <ms>       like wait, with each control's screen rectangle,
//                                    extended styles, check state or progress position,
//                                    and the window's client rectangle on the screen and
//                                    its paint counters and painted texts (test build)
#include <windows.h>

#include <commctrl.h>

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

// Line breaks written as \r and \n, so that a text stays on one line.
std::wstring Escaped(const wchar_t* text) {
  std::wstring escaped;
  for (const wchar_t* c = text; *c; ++c) {
    if (*c == L'\r') {
      escaped += L"\\r";
    } else if (*c == L'\n') {
      escaped += L"\\n";
    } else {
      escaped += *c;
    }
  }
  return escaped;
}

// One line per control: "control <id> <class> <visible> <enabled> <left> <top> <right>
// <bottom> exstyle=<hex> value=<check state or progress position> <text>".
BOOL CALLBACK PrintControlState(HWND child, LPARAM) {
  wchar_t text[2048] = L"";
  wchar_t className[64] = L"";
  // The control's own text (an edit field's content), asked of its window procedure.
  SendMessageTimeoutW(child, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  GetClassNameW(child, className, 64);
  RECT rect;
  GetWindowRect(child, &rect);
  LRESULT value = -1;
  if (_wcsicmp(className, L"button") == 0) value = SendMessageW(child, BM_GETCHECK, 0, 0);
  if (_wcsicmp(className, PROGRESS_CLASSW) == 0) value = SendMessageW(child, PBM_GETPOS, 0, 0);
  std::wstring escaped = Escaped(text);
  printf("control %d ", GetDlgCtrlID(child));
  PrintUtf8(className);
  printf(" %s %s %ld %ld %ld %ld exstyle=%lx value=%ld ", IsWindowVisible(child) ? "visible" : "hidden",
         IsWindowEnabled(child) ? "enabled" : "disabled", rect.left, rect.top, rect.right, rect.bottom,
         static_cast<unsigned long>(GetWindowLongW(child, GWL_EXSTYLE)), static_cast<long>(value));
  PrintUtf8(escaped.c_str());
  printf("\n");
  return TRUE;
}

void PrintWindowState(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  printf("client %ld %ld %ld %ld exstyle=%lx\n", origin.x, origin.y, client.right, client.bottom,
         static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
  const wchar_t* counters[] = {L"Veridane.Paints", L"Veridane.Presents", L"Veridane.OffscreenBitmaps",
                               L"Veridane.Commands"};
  for (const wchar_t* counter : counters) {
    PrintUtf8(counter);
    printf(" %lu\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(GetPropW(window, counter))));
  }
  for (const wchar_t* name : {L"Veridane.StatusLine", L"Veridane.Note"}) {
    auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, name)));
    wchar_t text[256] = L"";
    if (atom) GlobalGetAtomNameW(atom, text, 256);
    printf("text ");
    PrintUtf8(name);
    printf(" ");
    PrintUtf8(Escaped(text).c_str());
    printf("\n");
  }
  EnumChildWindows(window, PrintControlState, 0);
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
  if (command == L"state") {
    PrintWindowState(window);
    return 0;
  }
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
