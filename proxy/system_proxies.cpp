#include "proxy/system_proxies.h"

#include <windows.h>
#include <wininet.h>

#include "core/handles.h"
#include "core/settings_store.h"
#include "core/test_seams.h"
#include "core/text_utilities.h"
#include "proxy/proxy_list.h"
#include "proxy/system_proxy_parsers.h"

namespace {

const wchar_t kInternetSettingsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const size_t kProxyServerSize = 1025;
const DWORD kCnetcfgPathSize = 261;
const DWORD kCnetcfgHostSize = 129;
const wchar_t kIeSource[] = L"IE";

bool ProxyEnabled(HKEY key) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegQueryValueExW(key, L"ProxyEnable", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
    return false;
  }
  return type == REG_DWORD && size == sizeof(value) && value != 0;
}

// The expanded path of cnetcfg.ini, or empty when %DaContents% is not set.
std::wstring CnetcfgPath() {
  wchar_t path[kCnetcfgPathSize] = L"";
  DWORD length = ExpandEnvironmentStringsW(L"%DaContents%\\system\\net\\cnetcfg\\cnetcfg.ini", path, kCnetcfgPathSize);
  if (length == 0 || length > kCnetcfgPathSize || path[0] == L'%') return std::wstring();
  return path;
}

// A file that exists but is locked or protected still counts.
bool FileExists(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) return true;
  DWORD error = GetLastError();
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

// The LAN connection's script address and proxy flags.
bool QueryLanAutoConfiguration(CProxyList& list, std::wstring& scriptAddress, DWORD& flags) {
  if (!list.InternetQueryOptionW) return false;
#if defined(VERIDANE_TEST_SEAMS)
  // Wine's wininet reports neither a LAN script address nor automatic detection.
  std::wstring seamFlags = TestSeam(L"LAN_FLAGS");
  if (!seamFlags.empty()) {
    flags = static_cast<DWORD>(LeadingInteger(seamFlags));
    scriptAddress = TestSeam(L"LAN_SCRIPT");
    return true;
  }
#endif
  INTERNET_PER_CONN_OPTIONW options[3] = {};
  options[0].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
  options[1].dwOption = INTERNET_PER_CONN_AUTODISCOVERY_FLAGS;
  options[2].dwOption = INTERNET_PER_CONN_FLAGS;
  INTERNET_PER_CONN_OPTION_LISTW request = {};
  request.dwSize = sizeof(request);
  request.pszConnection = nullptr;  // the LAN settings
  request.dwOptionCount = 3;
  request.pOptions = options;
  DWORD size = sizeof(request);
  if (!list.InternetQueryOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &request, &size)) return false;
  UniqueGlobalMemory owned(options[0].Value.pszValue);
  scriptAddress = options[0].Value.pszValue ? options[0].Value.pszValue : L"";
  flags = options[2].Value.dwValue;
  return true;
}

}  // namespace

bool ReadIEProxyServer(std::wstring& host, int32_t& port) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kInternetSettingsKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  std::wstring server;
  if (!ProxyEnabled(key.Get()) || !ReadStringValue(key.Get(), L"ProxyServer", server, kProxyServerSize)) return false;
  ProxyEntry entry = ParseProxyServerValue(server);
  host = entry.host;
  port = entry.port;
  return true;
}

bool ReadCnetcfgProxy(int32_t& enabled, std::wstring& host, int32_t& port) {
  enabled = 0;
  host.clear();
  port = 0;
  std::wstring path = CnetcfgPath();
  if (path.empty() || !FileExists(path)) return false;
  enabled = static_cast<int32_t>(GetPrivateProfileIntW(L"PROXY", L"EnableProxy", 0, path.c_str()));
  if (enabled == 0) return true;
  wchar_t server[kCnetcfgHostSize] = L"";
  DWORD length = GetPrivateProfileStringW(L"PROXY", L"Http_Proxy_Server", L"", server, kCnetcfgHostSize, path.c_str());
  host = CnetcfgProxyHost(std::wstring(server, length));
  port = static_cast<int32_t>(GetPrivateProfileIntW(L"PROXY", L"Http_Proxy_Port", 0, path.c_str()));
  return !host.empty() && port != 0;
}

void CProxyList::AddSystemProxies() {
  int32_t counter = 200;
  std::wstring host;
  int32_t port = 0;
  if (ReadIEProxyServer(host, port)) Add(ProxyCandidate(counter++, kIeSource, host, port));

  int32_t enabled = 0;
  if (ReadCnetcfgProxy(enabled, host, port) && enabled != 0) Add(ProxyCandidate(counter++, kIeSource, host, port));

  std::wstring scriptAddress;
  DWORD flags = 0;
  if (!QueryLanAutoConfiguration(*this, scriptAddress, flags)) return;
  // Only these flags decide; the discovery flags play no part.
  if ((flags & PROXY_TYPE_AUTO_PROXY_URL) && !scriptAddress.empty())
    AddScriptEntries(scriptAddress, counter, kIeSource);
  if (flags & PROXY_TYPE_AUTO_DETECT) AddScriptEntries(L"", counter, kIeSource);
}
