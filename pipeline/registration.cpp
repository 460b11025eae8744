#include "pipeline/registration.h"

#include <windows.h>

#include <vector>

#include "core/handles.h"
#include "core/installer.h"
#include "core/log.h"
#include "core/system_utilities.h"
#include "pipeline/file_install.h"

namespace {

bool RegisterOutOfProcess(CInstaller& installer, const std::wstring& path) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  std::wstring commandLine = RegistrationCommandLine(path, installer.noisy);
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  // The tool is started from the system folder by its full path: a search by name
  // would look in the installer's own (download) folder first.
  std::wstring tool = GetSystemFolder() + L"regsvr32.exe";

  bool succeeded = false;
  PROCESS_INFORMATION info = {};
  if (CreateProcessW(tool.c_str(), writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                     &startup, &info)) {
    ProcessHandles process(info);
    WaitForSingleObject(process.process.Get(), INFINITE);
    DWORD exitCode = 1;
    succeeded = GetExitCodeProcess(process.process.Get(), &exitCode) && exitCode == 0;
    if (!succeeded) installer.messageText = L"regsvr32 probably failed :" + commandLine;
  } else {
    installer.messageText = L"Can not register ActiveX" + LastErrorText();
  }
  if (installer.noisy && !installer.messageText.empty()) {
    MessageBoxW(nullptr, installer.messageText.c_str(), L"Kavro Veridane will try other registration method", MB_OK);
  }
  return succeeded;
}

bool RegisterInProcess(CInstaller& installer, const std::wstring& path) {
  std::wstring report;
  bool succeeded = false;
  UniqueLibrary library(LoadLibraryW(path.c_str()));
  if (!library) {
    DWORD error = GetLastError();
    report = L"Can not load library: " + path + L" err:" + ErrorText(error);
  } else {
    using RegisterServer = HRESULT(STDAPICALLTYPE*)();
    auto registerServer = reinterpret_cast<RegisterServer>(GetProcAddress(library.Get(), "DllRegisterServer"));
    if (registerServer) {
      registerServer();  // its status is not looked at
      report = path + L" - registred ok";
      succeeded = true;
    } else {
      DWORD error = GetLastError();
      report = L"Can not get DllRegisterServer of library: " + path + L" err:" + ErrorText(error);
    }
  }
  if (installer.noisy) MessageBoxW(nullptr, report.c_str(), L"Kavro Veridane", MB_OK);
  return succeeded;
}

}  // namespace

std::wstring RegistrationCommandLine(const std::wstring& path, bool noisy) {
  return std::wstring(L"regsvr32 ") + (noisy ? L"" : L"/s") + L" \"" + path + L"\"";
}

bool RegisterComponent(CInstaller& installer, const std::wstring& fileName, bool inProcess) {
  std::wstring path = ResolveInstallPath(installer, fileName);
  if (inProcess) return RegisterInProcess(installer, path);
  if (RegisterOutOfProcess(installer, path)) return true;
  if (RegisterComponent(installer, fileName, true)) return true;
  installer.messageText += L" Both ways to register activex failed.";
  return false;
}
