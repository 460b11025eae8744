#include "pipeline/host_launch.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <vector>

#include "core/constants.h"
#include "core/handles.h"
#include "core/installer.h"
#include "core/log.h"
#include "core/text_utilities.h"
#include "pipeline/file_install.h"
#include "pipeline/worker.h"
#include "ui/string_table.h"

namespace {

const wchar_t kDisplayName[] = L"KAVRO Veridane v3";
const char kSerialValue[] = "QVDSerial";
const DWORD kSerialMinimumSize = 16;

void SetExpandString(HKEY key, const wchar_t* name, const std::wstring& text) {
  RegSetValueExW(key, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value) {
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void WriteSerialWhenMissing(HKEY key) {
  DWORD size = 0;
  if (RegQueryValueExA(key, kSerialValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
      size >= kSerialMinimumSize) {
    return;
  }
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return;
  unsigned char bytes[16];
  memcpy(bytes, &guid, sizeof(bytes));
  std::string serial = SerialFromBytes(bytes);
  RegSetValueExA(key, kSerialValue, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(serial.c_str()),
                 static_cast<DWORD>(serial.size() + 1));
}

}  // namespace

std::wstring HostCommandLine(const std::wstring& hostPath, uint32_t language) {
  return L"\"" + hostPath + L"\"" + WordSeparator + LanguageParameter + std::to_wstring(language);
}

void LaunchHost(CInstaller& installer) {
  SetStatus(installer, installer.GetString(StrStarting));
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  std::wstring hostPath = ResolveInstallPath(installer, HostFileName);
  std::wstring commandLine = HostCommandLine(hostPath, installer.configuredLanguage);
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');

  PROCESS_INFORMATION info = {};
  if (CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                     &startup, &info)) {
    ProcessHandles started(info);  // the installer does not wait for the host
    installer.resultCode = ResultSuccess;
    return;
  }
  DWORD error = GetLastError();
  installer.messageText = L"Can not run Hosting Application - " + hostPath + L" - " + ErrorText(error);
  installer.resultCode = ResultHostNotStarted;
}

void WriteUninstallEntry(CInstaller& installer) {
  std::wstring uninstaller = ResolveInstallPath(installer, UninstallerFileName);
  {
    UniqueKey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, UninstallKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        key.Receive(), nullptr) == ERROR_SUCCESS) {
      SetExpandString(key.Get(), L"DisplayName", kDisplayName);
      // The system runs this value as a command line: quoted, since the path holds spaces.
      SetExpandString(key.Get(), L"UninstallString", L"\"" + uninstaller + L"\"");
      SetExpandString(key.Get(), L"DisplayIcon", uninstaller);
      SetDword(key.Get(), L"NoModify", 1);
      SetDword(key.Get(), L"NoRepair", 1);
    }
  }
  UniqueKey product;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, ProductKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                      nullptr, product.Receive(), nullptr) != ERROR_SUCCESS) {
    return;
  }
  WriteSerialWhenMissing(product.Get());
}

std::string SerialFromBytes(const unsigned char (&bytes)[16]) {
  std::string serial;
  char digits[3];
  for (unsigned char byte : bytes) {
    snprintf(digits, sizeof(digits), "%02x", byte);
    serial += digits;
  }
  return serial;
}
