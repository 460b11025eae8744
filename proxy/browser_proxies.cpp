#include "proxy/browser_proxies.h"

#include <windows.h>

#include "core/handles.h"
#include "core/system_utilities.h"
#include "core/text_utilities.h"
#include "proxy/firefox_prefs.h"
#include "proxy/proxy_list.h"

namespace {

const int32_t kFirstBrowserPriority = 50;
const wchar_t kMozillaSource[] = L"Mozilla";
const wchar_t kOperaSource[] = L"Opera";
const DWORD kOperaValueSize = 1024;
const DWORD kReadChunkSize = 4096;

bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

FirefoxPrefs ReadPrefsFile(UniqueFile& file) {
  FirefoxPrefsReader reader;
  char chunk[kReadChunkSize];
  DWORD read = 0;
  while (ReadFile(file.Get(), chunk, kReadChunkSize, &read, nullptr) && read > 0) {
    if (!reader.Feed(chunk, read)) break;
  }
  reader.Finish();
  return reader.prefs();
}

std::wstring ReadOperaValue(const std::wstring& file, const wchar_t* name) {
  wchar_t value[kOperaValueSize] = L"";
  DWORD length = GetPrivateProfileStringW(L"Proxy", name, L"", value, kOperaValueSize, file.c_str());
  return std::wstring(value, length < kOperaValueSize ? length : 0);
}

}  // namespace

std::vector<std::wstring> FindFirefoxPrefsFiles(const std::vector<std::wstring>& roots) {
  std::vector<std::wstring> paths;
  for (const std::wstring& root : roots) {
    WIN32_FIND_DATAW entry;
    UniqueFind search(FindFirstFileW((root + L"*").c_str(), &entry));
    if (!search) continue;
    do {
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(entry.cFileName)) {
        paths.push_back(root + entry.cFileName + L"\\prefs.js");
      }
    } while (FindNextFileW(search.Get(), &entry));
  }
  return paths;
}

void ReadFirefoxPrefs(const std::wstring& path, int32_t& counter, CProxyList& list) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  FirefoxPrefs prefs = ReadPrefsFile(file);
  switch (prefs.proxyType) {
    case 1:
      if (!prefs.httpHost.empty() && prefs.httpPort != 0) {
        list.Add(ProxyCandidate(counter++, kMozillaSource, ToWide(prefs.httpHost), prefs.httpPort));
      }
      break;
    case 2:
      if (!prefs.autoConfigUrl.empty()) list.AddScriptEntries(ToWide(prefs.autoConfigUrl), counter, kMozillaSource);
      break;
    case 4:
      list.AddScriptEntries(L"", counter, kMozillaSource);
      break;
    default:
      break;
  }
}

void CProxyList::AddFirefoxProxies() {
  std::wstring folder = GetAppDataFolder();
  if (folder.empty()) return;
  folder = AddTrailingBackslash(folder);
  int32_t counter = kFirstBrowserPriority;
  for (const std::wstring& path :
       FindFirefoxPrefsFiles({folder + L"Mozilla\\Firefox\\Profiles\\", folder + L"Mozilla\\Profiles\\"})) {
    ReadFirefoxPrefs(path, counter, *this);
  }
}

void CProxyList::AddOperaProxies() {
  std::wstring folder = GetAppDataFolder();
  if (folder.empty()) return;
  int32_t counter = kFirstBrowserPriority;
  // A missing file reads as empty values.
  std::wstring file = AddTrailingBackslash(folder) + L"Opera\\Opera\\profile\\opera6.ini";
  if (LeadingInteger(ReadOperaValue(file, L"Use HTTP")) == 1) {
    ProxyCandidate manual(counter, kOperaSource, ReadOperaValue(file, L"HTTP server"));
    // An empty host would turn an unreadable server into a direct connection.
    if (!manual.host.empty()) {
      Add(manual);
      ++counter;
    }
  }
  if (LeadingInteger(ReadOperaValue(file, L"Use Automatic Proxy Configuration")) == 1) {
    std::wstring scriptAddress = ReadOperaValue(file, L"Automatic Proxy Configuration URL");
    if (!scriptAddress.empty()) AddScriptEntries(scriptAddress, counter, kOperaSource);
  }
}
