#include "pipeline/file_install.h"

#include <windows.h>

#include "core/handles.h"
#include "core/installer.h"
#include "core/log.h"
#include "core/privileges.h"
#include "core/system_utilities.h"
#include "core/text_utilities.h"
#include "pipeline/registration.h"

namespace {

const wchar_t kProductSubfolder[] = L"\\KAVRO\\KAVRO Veridane";
const wchar_t kCanNotCreateDirectory[] = L"Can not create directory.";
const int kRegistrationFailed = 7;

std::wstring ReadProgramFilesDir() {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, key.Receive()) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), L"ProgramFilesDir", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS ||
      size < sizeof(wchar_t)) {
    return std::wstring();
  }
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (RegQueryValueExW(key.Get(), L"ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(&text[0]), &size) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  text.resize(size / sizeof(wchar_t));
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

bool CreateSubfolder(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void ShowNoisyBox(const std::wstring& text, const wchar_t* caption) {
  MessageBoxW(nullptr, text.c_str(), caption, MB_OK);
}

}  // namespace

std::wstring ResolveInstallPath(CInstaller& installer, const std::wstring& suffix) {
  if (!installer.installFolder.empty()) return installer.installFolder + suffix;

  std::wstring base = AddTrailingBackslash(installer.hasAdminRights ? GetProductFolder() : GetWorkFolder());
  if (!FolderExists(base) && !CreateFolderTree(base)) {
    installer.messageText = kCanNotCreateDirectory;
    return suffix;
  }
  installer.installFolder = base;
  bool modules = CreateSubfolder(base + L"Modules");
  bool quarantine = CreateSubfolder(base + L"Quarantine");
  if (!modules || !quarantine) installer.messageText = kCanNotCreateDirectory;
  return installer.installFolder + suffix;
}

std::wstring GetProductFolder() { return ReadProgramFilesDir() + kProductSubfolder; }

std::wstring GetWorkFolder() {
  wchar_t temp[MAX_PATH] = L"";
  DWORD length = GetTempPathW(MAX_PATH, temp);
  if (length >= MAX_PATH) length = 0;
  return std::wstring(temp, length) + L"KVX";
}

bool FolderExists(const std::wstring& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(RemoveTrailingBackslash(path).c_str(), &data));
  return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolderTree(const std::wstring& path) {
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) return true;
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
  size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos || slash == 0) return false;
  std::wstring parent = path.substr(0, slash);
  // A path that ends with a backslash yields itself without it; guard against a
  // parent that is not shorter, which would never end.
  if (parent.size() >= path.size() || !CreateFolderTree(parent)) return false;
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::vector<std::wstring> ListFiles(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
  } while (FindNextFileW(find.Get(), &data));
  return names;
}

void DeleteFolderFiles(const std::wstring& folder, std::wstring& log) {
  std::wstring base = AddTrailingBackslash(folder);
  for (const std::wstring& name : ListFiles(base + L"*.*")) {
    if (!DeleteFileW((base + name).c_str())) {
      DWORD error = GetLastError();
      log += name + L" - delete file error:" + ErrorText(error) + L"\r\n";
    }
  }
}

std::vector<std::wstring> RegisteredComponents(bool isWow64) {
  std::vector<std::wstring> components;
  if (isWow64) components.emplace_back(L"Veridane64.ocx");
  components.emplace_back(L"Veridane.ocx");
  return components;
}

int InstallFromFolder(std::wstring& log, CInstaller& installer, const std::wstring& sourceFolder) {
  std::wstring target = ResolveInstallPath(installer, L"");
  if (installer.noisy) ShowNoisyBox(L"copy from " + sourceFolder + L" to " + target + L"\n", L"inst");

  if (lstrcmpiW(sourceFolder.c_str(), target.c_str()) != 0) {
    DeleteFolderFiles(target, log);
    std::wstring source = AddTrailingBackslash(sourceFolder);
    for (const std::wstring& name : ListFiles(source + L"*.*")) {
      std::wstring from = source + name;
      std::wstring to = ResolveInstallPath(installer, name);
      if (from != to && !CopyFileW(from.c_str(), to.c_str(), FALSE)) {
        DWORD error = GetLastError();
        log += name + L" - copy file error :" + ErrorText(error) + L"\r\n";
      }
    }
  }

  int result = 0;
  for (const std::wstring& component : RegisteredComponents(installer.isWow64)) {
    if (RegisterComponent(installer, component, false)) {
      log += component + L" - registred OK\r\n";
    } else {
      log += component + installer.messageText + L"\r\n";
      installer.messageText.clear();
      result = kRegistrationFailed;
    }
  }
  return result;
}

int RunCabHook(CInstaller& installer) {
  std::wstring log = LogHeaderPrefix + RightsLevelName() + L" as CAB hook log:\r\n" + installer.messageText;
  int result = InstallFromFolder(log, installer, GetProgramFolder());
  if (installer.noisy) ShowNoisyBox(log, L"CAB file instalation hook");
  WriteLog(log);
  return result;
}
