#include "core/entry.h"

#include <objbase.h>
#include <shellapi.h>

#include "core/command_line.h"
#include "core/installer.h"
#include "core/log.h"
#include "core/privileges.h"
#include "core/settings_store.h"
#include "core/system_utilities.h"
#include "core/test_seams.h"
#include "core/text_utilities.h"
#include "pipeline/file_install.h"
#include "pipeline/host_launch.h"
#include "pipeline/worker.h"
#include "ui/main_window.h"
#include "ui/string_table.h"

namespace {

const int kWindowTextSize = 260;

struct ComApartment {
  ComApartment() : initialised(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialised) CoUninitialize();
  }
  bool initialised;
};

BOOL CALLBACK FindWindowWithTitle(HWND window, LPARAM found) {
  wchar_t title[kWindowTextSize] = L"";
  int length = GetWindowTextW(window, title, kWindowTextSize);
  if (length > 0 && wcscmp(title, windowTitle) == 0) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool RunningInstanceExists() {
  bool found = false;
  EnumWindows(FindWindowWithTitle, reinterpret_cast<LPARAM>(&found));
  return found;
}

void RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.cbWndExtra = sizeof(LONG_PTR);
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(129));
  windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(130));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = windowClassName;
  RegisterClassExW(&windowClass);
}

void ShowAdminRequired(CInstaller& installer) {
  MessageBoxW(nullptr, installer.GetString(StrAdminRequired).c_str(), nullptr, MB_ICONERROR);
}

int RunInteractive(CInstaller& installer, HINSTANCE instance, int showCommand) {
  LoadProxySettings(installer.proxySettings);
  std::wstring title =
      CopyTruncated(installer.GetString(installer.autoStart ? StrDownloadingTitle : StrTermsOfUse), WindowTitleSize);
  wcscpy(windowTitle, title.c_str());
  if (RunningInstanceExists()) return 0;

  RegisterMainWindowClass(instance);
  if (installer.autoStart) {
    if (!installer.hasAdminRights) {
      ShowAdminRequired(installer);
      return 0;
    }
    StartWorker(installer);
  }
  if (!CreateMainWindow(instance, showCommand)) return 0;

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int RunCabHookMode(CInstaller& installer) {
  if (!installer.hasAdminRights) {
    ShowAdminRequired(installer);
    return 0;
  }
  int result = RunCabHook(installer);
  WriteUninstallEntry(installer);
  if (!IsNtPlatform()) {
    WriteIeCrashedMarker();
    std::wstring host = ResolveInstallPath(installer, HostFileName);
    std::wstring folder = ResolveInstallPath(installer, L"");
    ShellExecuteW(nullptr, L"Open", host.c_str(), NonNtHostParameter, folder.c_str(), SW_SHOWNORMAL);
  }
  if (installer.noisy) WriteLog(L"Inslaller: Finished.\r\n");
  return result;
}

int RunCopyMode(CInstaller& installer) {
  std::wstring programName = FileNamePart(GetProgramPath());
  std::wstring log = programName + L"@" + RightsLevelName() + LineEnd;
  std::wstring workFolder = GetWorkFolder();
  int result = InstallFromFolder(log, installer, workFolder);
  DeleteFolderFiles(workFolder, log);
  WriteUninstallEntry(installer);
  if (result == 0) LaunchHost(installer);
  if (installer.resultCode != ResultSuccess) {
    MessageBoxW(nullptr, installer.messageText.c_str(), programName.c_str(), MB_OK);
  }
  log += L"Finished. Err=" + installer.messageText + LineEnd;
  WriteLog(log);
  return 0;
}

int RunSelectedMode(CInstaller& installer, HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
  if (installer.hasAdminRights) WriteInstallPath(ResolveInstallPath(installer, L""));
  ParseCommandLine(installer, commandLine);
  installer.configuredLanguage = TestSeamNumber(L"LANGUAGE", installer.configuredLanguage);
  installer.language = static_cast<int16_t>(installer.configuredLanguage % 10000);
  if (installer.noisy) {
    std::wstring text = std::wstring(L"command line:") + commandLine;
    MessageBoxW(nullptr, text.c_str(), L"Command line:", MB_OK);
  }
  switch (SelectRunMode(installer.copyMode, installer.cabHookMode, installer.autoStart)) {
    case RunMode::Copy:
      return RunCopyMode(installer);
    case RunMode::CabHook:
      return RunCabHookMode(installer);
    default:
      return RunInteractive(installer, instance, showCommand);
  }
}

}  // namespace

RunMode SelectRunMode(bool copyMode, bool cabHookMode, bool autoStart) {
  if (copyMode) return RunMode::Copy;
  if (cabHookMode) return RunMode::CabHook;
  return autoStart ? RunMode::AutoStart : RunMode::LicenceView;
}

int RunInstaller(HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
  RestrictLibrarySearch();
  ComApartment com;
  int exitCode = RunSelectedMode(TheInstaller(), instance, commandLine ? commandLine : L"", showCommand);
  // The state's teardown unloads the library a worker uses: never let it overlap.
  WaitForWorkers();
  return exitCode;
}
