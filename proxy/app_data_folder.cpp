// CProxyList::GetAppDataFolder: the folder in which the browsers keep their
// per-user data.
#include <windows.h>
#include <shlobj.h>

#include "core/optional_functions.h"
#include "core/system_utilities.h"
#include "core/text_utilities.h"
#include "proxy/legacy_app_data.h"
#include "proxy/proxy_list.h"

namespace {

const DWORD kUserNameSize = 260;
const UINT kWindowsFolderSize = 261;

LegacySystemFacts GatherLegacySystemFacts() {
  LegacySystemFacts facts;
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  facts.versionKnown = GetVersionExA(&version) != FALSE;
  facts.ntPlatform = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  facts.majorVersion = version.dwMajorVersion;
  if (!facts.ntPlatform) {
    char windows[MAX_PATH] = "";
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    facts.windowsFolderKnown = length > 0 && length < MAX_PATH;
    if (facts.windowsFolderKnown) facts.windowsFolder = ToWide(std::string(windows, length));
    return facts;
  }
  wchar_t user[kUserNameSize] = L"";
  DWORD userSize = kUserNameSize;
  facts.userNameKnown = GetUserNameW(user, &userSize) != FALSE;
  if (facts.userNameKnown) facts.userName = user;
  wchar_t windows[kWindowsFolderSize] = L"";
  UINT length = GetWindowsDirectoryW(windows, kWindowsFolderSize);
  facts.windowsFolderKnown = length > 0 && length < kWindowsFolderSize;
  if (facts.windowsFolderKnown) facts.windowsFolder.assign(windows, length);
  return facts;
}

std::wstring ComputeAppDataFolder() {
  bool vistaOrLater = IsVistaOrLater();
  wchar_t reported[MAX_PATH] = L"";
  if (optional::SHGetSpecialFolderPathW(nullptr, reported, CSIDL_APPDATA, FALSE)) {
    reported[MAX_PATH - 1] = L'\0';
    // From Vista on this already is the per-user roaming folder the browsers use.
    return vistaOrLater ? AddTrailingBackslash(reported) : std::wstring(reported);
  }
  if (vistaOrLater) return std::wstring();
  return LegacyAppDataFolder(GatherLegacySystemFacts());
}

}  // namespace

std::wstring CProxyList::GetAppDataFolder() {
  if (appDataFolder.empty()) appDataFolder = ComputeAppDataFolder();
  return appDataFolder;
}
