#include "core/privileges.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "core/constants.h"
#include "core/handles.h"
#include "core/installer.h"
#include "core/optional_functions.h"
#include "core/system_utilities.h"
#include "core/test_seams.h"
#include "ui/main_window.h"

namespace {

const wchar_t* const kRightsLevelNames[] = {L"Low", L"Medium", L"High", L"System"};

int cachedRightsLevel = 0;

bool UserIsAdmin() {
  if (TestSeamIs(L"RIGHTS", L"1")) return false;
  return optional::IsUserAnAdmin() != FALSE;
}

UniqueKernelObject OpenQueryToken() {
  UniqueKernelObject token;
  if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.Receive())) return token;
  if (GetLastError() != ERROR_NO_TOKEN) return UniqueKernelObject();
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return UniqueKernelObject();
  return token;
}

// Restores the cursor that the wait cursor replaced.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() {
    if (previous_) SetCursor(previous_);
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

bool StartThroughShell(CInstaller& installer, const std::wstring& parameters) {
  std::wstring program = GetProgramPath();
  std::wstring folder = GetProgramFolder();
  HWND owner = MainWindowHandle(installer);
  HINSTANCE result = ShellExecuteW(owner, L"runas", program.c_str(), parameters.c_str(), folder.c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool StartDirectly(const std::wstring& parameters) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  std::wstring commandLine = L"\"" + GetProgramPath() + L"\" " + parameters;
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  ProcessHandles started(info);  // nothing waits for the instance
  return true;
}

}  // namespace

int RightsLevelFor(bool ntPlatform, bool userIsAdmin) {
  return !ntPlatform || userIsAdmin ? RightsLevelHigh : RightsLevelMedium;
}

int GetRightsLevel() {
  if (cachedRightsLevel == 0) {
    bool nt = IsNtPlatform();
    cachedRightsLevel = RightsLevelFor(nt, nt && UserIsAdmin());
  }
  return cachedRightsLevel;
}

std::wstring RightsLevelName(int level) {
  if (level < 0 || level > 3) return std::wstring();
  return kRightsLevelNames[level];
}

std::wstring RightsLevelName() { return RightsLevelName(GetRightsLevel()); }

bool IsAdminByToken() {
  if (!IsNtPlatform()) return true;
  UniqueKernelObject token = OpenQueryToken();
  if (!token) return false;

  DWORD size = 0;
  if (GetTokenInformation(token.Get(), TokenGroups, nullptr, 0, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return false;
  }
  std::vector<BYTE> buffer(size);
  if (!GetTokenInformation(token.Get(), TokenGroups, buffer.data(), size, &size)) return false;

  return GroupsIncludeAdministrators(*reinterpret_cast<const TOKEN_GROUPS*>(buffer.data()));
}

bool GroupsIncludeAdministrators(const TOKEN_GROUPS& groups) {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &administrators)) {
    return false;
  }
  // Attributes are not looked at: a group present for deny checks only counts too.
  bool found = false;
  for (DWORD i = 0; i < groups.GroupCount && !found; ++i) {
    found = EqualSid(groups.Groups[i].Sid, administrators) != FALSE;
  }
  FreeSid(administrators);
  return found;
}

std::wstring InstallProcessParameters(bool noisy) {
  std::wstring parameters = CommandAutoStart;
  if (noisy) parameters += std::wstring(WordSeparator) + CommandNoisy;
  return parameters;
}

bool StartInstallProcess(CInstaller& installer) {
  WaitCursor cursor;
  std::wstring parameters = InstallProcessParameters(installer.noisy);
  if (!installer.hasAdminRights) return StartThroughShell(installer, parameters);
  return StartDirectly(parameters);
}
