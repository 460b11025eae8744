#include "core/settings_store.h"

#include <cstring>
#include <utility>
#include <vector>

#include "core/constants.h"
#include "core/handles.h"
#include "core/scrambler.h"
#include "core/text_utilities.h"
#include "proxy/proxy_settings.h"

namespace {

LONG CreateSettingsKey(UniqueKey& key) {
  return RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                         nullptr, key.Receive(), nullptr);
}

LONG SetStringValue(HKEY key, const wchar_t* name, const std::wstring& text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

const size_t kScrambledCharacters = 512;
const DWORD kScrambledMaximumBytes = 1025;

void ReadInto(HKEY key, const wchar_t* name, std::wstring& field) {
  std::wstring text;
  if (ReadStringValue(key, name, text, PathBufferSize)) field = text;
}

}  // namespace

LONG WriteInstallPath(const std::wstring& folder) {
  {
    UniqueKey created;
    CreateSettingsKey(created);
  }
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS &&
      CreateSettingsKey(key) != ERROR_SUCCESS) {
    return E_FAIL;
  }
  return SetStringValue(key.Get(), ValueInstallPath, folder);
}

LONG ReadInstallPath(std::wstring& folder) {
  UniqueKey key;
  LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_QUERY_VALUE, key.Receive());
  if (status != ERROR_SUCCESS) return status;

  wchar_t buffer[PathBufferSize];
  DWORD type = 0;
  DWORD size = sizeof(buffer);
  status = RegQueryValueExW(key.Get(), ValueInstallPath, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (status != ERROR_SUCCESS) return status;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  if (size == 0) {
    folder.clear();
    return ERROR_SUCCESS;
  }
  if (size % sizeof(wchar_t) != 0 || buffer[size / sizeof(wchar_t) - 1] != L'\0') return ERROR_INVALID_DATA;
  folder.assign(buffer);
  return ERROR_SUCCESS;
}

bool ReadStringValue(HKEY key, const wchar_t* name, std::wstring& text, size_t n) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > n * sizeof(wchar_t)) return false;
  std::vector<wchar_t> buffer(n + 1, L'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
    return false;
  }
  // The text ends at its first terminator or at the end of the data.
  size_t characters = size / sizeof(wchar_t);
  text.assign(buffer.data(), characters);
  size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  // A value stored without its terminator must still fit a buffer of n with one.
  return text.size() < n;
}

bool ReadScrambledValue(HKEY key, const wchar_t* name, std::wstring& text) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_BINARY || size > kScrambledMaximumBytes) return false;
  std::vector<uint8_t> bytes(size + 1);
  if (RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) return false;
  ScrambleBytes(bytes.data(), size);
  std::wstring plain(size / sizeof(wchar_t), L'\0');
  if (!plain.empty()) memcpy(&plain[0], bytes.data(), plain.size() * sizeof(wchar_t));
  size_t end = plain.find(L'\0');
  if (end != std::wstring::npos) plain.resize(end);
  text = CopyTruncated(plain, PasswordReadSize);
  return true;
}

bool WriteScrambledValue(HKEY key, const wchar_t* name, const std::wstring& text) {
  std::wstring kept = text.substr(0, kScrambledCharacters);
  std::vector<uint8_t> bytes(kept.size() * sizeof(wchar_t));
  if (!bytes.empty()) memcpy(bytes.data(), kept.data(), bytes.size());
  ScrambleBytes(bytes.data(), bytes.size());
  return RegSetValueExW(key, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

void LoadProxySettings(ProxySettings& settings) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return;
  ReadInto(key.Get(), ValueProxyAddress, settings.address);
  ReadInto(key.Get(), ValueProxyPort, settings.port);
  ReadInto(key.Get(), ValueProxyUser, settings.user);
  std::wstring enabled;
  if (ReadStringValue(key.Get(), ValueProxyEnabled, enabled, PathBufferSize)) {
    settings.enabled = LeadingInteger(enabled) != 0;
  }
  std::wstring password;
  if (ReadScrambledValue(key.Get(), ValueProxyPassword, password) && !password.empty()) {
    settings.password = password;
  }
}

void SaveProxySettings(const ProxySettings& settings) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ | KEY_WRITE, key.Receive()) != ERROR_SUCCESS &&
      CreateSettingsKey(key) != ERROR_SUCCESS) {
    return;
  }
  const std::pair<const wchar_t*, const std::wstring*> strings[] = {
      {ValueProxyAddress, &settings.address}, {ValueProxyPort, &settings.port}, {ValueProxyUser, &settings.user}};
  for (const auto& value : strings) {
    LONG status = SetStringValue(key.Get(), value.first, *value.second);
    if (status != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(status));
  }
  WriteScrambledValue(key.Get(), ValueProxyPassword, settings.password);
  LONG status = SetStringValue(key.Get(), ValueProxyEnabled, settings.enabled ? L"1" : L"0");
  if (status != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(status));
}

void WriteIeCrashedMarker() {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS) return;
  SetStringValue(key.Get(), ValueIeCrashed, L"1");
}
