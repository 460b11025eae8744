// The proxy list over real files, the prefix's registry and the real jsproxy.dll:
// the browser and system readers, their priorities, and script evaluation with its
// cache. Scripts are real PAC files reached through file: addresses.
#include "proxy/proxy_list.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "test_support.h"

#include "core/constants.h"
#include "core/handles.h"
#include "core/installer.h"
#include "core/text_utilities.h"
#include "proxy/auto_proxy.h"
#include "proxy/browser_proxies.h"

namespace {

const wchar_t kInternetSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

void CreateFolders(const std::wstring& path) {
  for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  CreateFolders(path);
  FILE* file = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(nullptr, file) << Utf8(path);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

void DeleteTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  UniqueFind search(FindFirstFileW((folder + L"*").c_str(), &entry));
  if (search) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(folder + name + L"\\");
      } else {
        DeleteFileW((folder + name).c_str());
      }
    } while (FindNextFileW(search.Get(), &entry));
  }
  RemoveDirectoryW(folder.c_str());
}

std::set<std::wstring> FilesIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW entry;
  UniqueFind search(FindFirstFileW((folder + L"*").c_str(), &entry));
  if (!search) return names;
  do {
    names.insert(entry.cFileName);
  } while (FindNextFileW(search.Get(), &entry));
  return names;
}

std::string Prefs(int type, const char* host, int port, const char* script = "") {
  std::string text = "# Mozilla User Preferences\n";
  text += "user_pref(\"network.proxy.autoconfig_url\", \"" + std::string(script) + "\");\n";
  text += "user_pref(\"network.proxy.http\", \"" + std::string(host) + "\");\n";
  if (port) text += "user_pref(\"network.proxy.http_port\", " + std::to_string(port) + ");\n";
  text += "user_pref(\"network.proxy.type\", " + std::to_string(type) + ");\n";
  return text;
}

std::vector<std::wstring> Describe(const std::vector<ProxyCandidate>& list) {
  std::vector<std::wstring> out;
  for (const ProxyCandidate& c : list) out.push_back(c.source + L" " + IntToText(c.priority) + L" " + c.ProxyString());
  return out;
}

// Downloads go through the real urlmon; the test counts them.
int downloads = 0;
CProxyList::UrlDownloadToFileAFn realDownload = nullptr;
HRESULT WINAPI CountingDownload(void* caller, LPCSTR url, LPCSTR file, DWORD reserved, void* callback) {
  ++downloads;
  return realDownload(caller, url, file, reserved, callback);
}

// Wine's automatic detection finds nothing; this one finds the script named here.
int detections = 0;
std::string detectedScript;
BOOL WINAPI DetectScript(LPSTR url, DWORD size, DWORD flags) {
  ++detections;
  if (flags != (PROXY_AUTO_DETECT_TYPE_DHCP | PROXY_AUTO_DETECT_TYPE_DNS_A) || detectedScript.size() >= size) {
    return FALSE;
  }
  memcpy(url, detectedScript.c_str(), detectedScript.size() + 1);
  return TRUE;
}

class ProxyListTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = TempFolder() + L"proxy_list_test\\";
    DeleteTree(root_);
    CreateFolders(root_);
    list_.appDataFolder = root_ + L"AppData";
    downloads = 0;
    detections = 0;
    realDownload = list_.URLDownloadToFileA;
    list_.URLDownloadToFileA = &CountingDownload;
    SetInternetSettings(0, nullptr);
  }
  void TearDown() override {
    SetInternetSettings(0, nullptr);
    SetEnvironmentVariableW(L"DaContents", nullptr);
    SetEnvironmentVariableW(L"VERIDANE_SEAM_LAN_FLAGS", nullptr);
    SetEnvironmentVariableW(L"VERIDANE_SEAM_LAN_SCRIPT", nullptr);
    DeleteTree(root_);
  }

  // A PAC file that answers only the question about the update server.
  std::wstring Script(const std::wstring& name, const std::string& answer) {
    std::string body = "function FindProxyForURL(url, host) {\n  if (url == \"" + AutoProxyQueryAddress() +
                       "\" && host == \"" + UpdateServerHost + "\") return \"" + answer +
                       "\";\n  return \"PROXY wrong.question:1\";\n}\n";
    return ScriptFile(name, body);
  }
  std::wstring ScriptFile(const std::wstring& name, const std::string& body) {
    std::wstring path = root_ + L"scripts\\" + name;
    WriteFile(path, body);
    std::wstring url = L"file:///" + path;
    std::replace(url.begin(), url.end(), L'\\', L'/');
    return url;
  }
  std::wstring AppData() { return root_ + L"AppData\\"; }

  void SetInternetSettings(DWORD enable, const wchar_t* server) {
    UniqueKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.Receive(),
                    nullptr);
    RegSetValueExW(key.Get(), L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
    if (server) {
      RegSetValueExW(key.Get(), L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server),
                     static_cast<DWORD>((wcslen(server) + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key.Get(), L"ProxyServer");
    }
  }
  void WriteCnetcfg(const std::string& content) {
    WriteFile(root_ + L"Da\\system\\net\\cnetcfg\\cnetcfg.ini", content);
    SetEnvironmentVariableW(L"DaContents", (root_ + L"Da").c_str());
  }

  std::wstring root_;
  CProxyList list_{TheInstaller()};
};

TEST_F(ProxyListTest, AppDataFolderIsTheOneTheSystemReports) {
  CProxyList fresh(TheInstaller());
  wchar_t reported[MAX_PATH] = L"";
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, reported, CSIDL_APPDATA, FALSE));
  std::wstring folder = fresh.GetAppDataFolder();
  EXPECT_EQ(AddTrailingBackslash(reported), folder);
  EXPECT_EQ(std::wstring::npos, folder.find(L"Roaming\\Roaming"));
}

TEST_F(ProxyListTest, FirefoxProfilesShareOneCounter) {
  std::wstring firefox = AppData() + L"Mozilla\\Firefox\\Profiles\\";
  WriteFile(firefox + L"a.default\\prefs.js", Prefs(1, "proxy1", 81));
  WriteFile(firefox + L"b.work\\prefs.js", Prefs(1, "proxy2", 82));
  WriteFile(firefox + L"c.noport\\prefs.js", Prefs(1, "proxy3", 0));
  WriteFile(firefox + L"d.type0\\prefs.js", Prefs(0, "proxy4", 84));
  WriteFile(firefox + L"e.type3\\prefs.js", Prefs(3, "proxy5", 85));
  WriteFile(firefox + L"f.type5\\prefs.js", Prefs(5, "proxy6", 86));
  CreateFolders(firefox + L"g.empty\\");
  WriteFile(firefox + L"profiles.ini", Prefs(1, "not.a.profile", 1));
  WriteFile(AppData() + L"Mozilla\\Profiles\\old\\prefs.js", Prefs(1, "proxy7", 87));

  std::vector<std::wstring> paths =
      FindFirefoxPrefsFiles({firefox, AppData() + L"Mozilla\\Profiles\\", AppData() + L"Missing\\"});
  ASSERT_EQ(8u, paths.size());
  EXPECT_EQ(AppData() + L"Mozilla\\Profiles\\old\\prefs.js", paths.back());

  list_.AddFirefoxProxies();
  // Profiles in the order the system lists them, then the older Mozilla root.
  std::vector<std::wstring> expected;
  int priority = 50;
  for (const std::wstring& path : paths) {
    for (const auto& known : {std::make_pair(L"a.default", L"proxy1:81"), std::make_pair(L"b.work", L"proxy2:82"),
                              std::make_pair(L"old", L"proxy7:87")}) {
      if (path.find(std::wstring(L"\\") + known.first + L"\\") != std::wstring::npos) {
        expected.push_back(L"Mozilla " + IntToText(priority++) + L" " + known.second);
      }
    }
  }
  EXPECT_EQ(expected, Describe(list_.candidates));
}

TEST_F(ProxyListTest, FirefoxScriptTypes) {
  std::wstring script = Script(L"firefox.pac", "PROXY proxy1:808; PROXY proxy2:312; DIRECT");
  std::wstring firefox = AppData() + L"Mozilla\\Firefox\\Profiles\\";
  WriteFile(firefox + L"a\\prefs.js", Prefs(2, "ignored", 1, Utf8(script).c_str()));
  list_.AddFirefoxProxies();
  std::vector<std::wstring> expected = {L"Mozilla 50 proxy1:808", L"Mozilla 51 proxy2:312", L"Mozilla 52 "};
  EXPECT_EQ(expected, Describe(list_.candidates));

  // Type 4 asks for automatic detection.
  list_.candidates.clear();
  WriteFile(firefox + L"a\\prefs.js", Prefs(4, "", 0));
  list_.DetectAutoProxyUrl = &DetectScript;
  detectedScript = Utf8(Script(L"detected.pac", "PROXY detected:3128"));
  list_.AddFirefoxProxies();
  EXPECT_EQ(std::vector<std::wstring>{L"Mozilla 50 detected:3128"}, Describe(list_.candidates));
}

TEST_F(ProxyListTest, OperaManualEntryThenScriptEntries) {
  std::wstring ini = AppData() + L"Opera\\Opera\\profile\\opera6.ini";
  std::string script = Utf8(Script(L"opera.pac", "PROXY s1:1; PROXY s2:2"));
  struct Case {
    std::string content;
    std::vector<std::wstring> expected;
  } cases[] = {
      {"[Proxy]\nUse HTTP=1\nHTTP server=proxy2:82\n", {L"Opera 50 proxy2:82"}},
      {"[Proxy]\nUse HTTP=1\nHTTP server=http://proxy2:82\n", {L"Opera 50 http://proxy2:82"}},
      {"[Proxy]\nUse HTTP=0\nHTTP server=proxy2:82\n", {}},
      {"[Proxy]\nUse HTTP=1\nHTTP server=\n", {}},
      {"[Proxy]\nUse HTTP=1\nHTTP server=:82\n", {}},  // no host: not a direct connection
      {"[Proxy]\nUse HTTP=1\nHTTP server=proxy2:82\nUse Automatic Proxy Configuration=1\n"
       "Automatic Proxy Configuration URL=" +
           script + "\n",
       {L"Opera 50 proxy2:82", L"Opera 51 s1:1", L"Opera 52 s2:2"}},
      {"[Proxy]\nUse Automatic Proxy Configuration=1\nAutomatic Proxy Configuration URL=" + script + "\n",
       {L"Opera 50 s1:1", L"Opera 51 s2:2"}},
      {std::string("\xff\xfe\x00[Proxy\n=\n\x01\x02", 10) + std::string(5000, 'x') + "\n", {}},
  };
  for (const Case& c : cases) {
    WriteFile(ini, c.content);
    list_.candidates.clear();
    list_.AddOperaProxies();
    EXPECT_EQ(c.expected, Describe(list_.candidates)) << c.content;
  }
  DeleteFileW(ini.c_str());
  list_.candidates.clear();
  list_.AddOperaProxies();
  EXPECT_TRUE(list_.candidates.empty());
}

TEST_F(ProxyListTest, CollectPutsFirefoxBeforeOperaAndKeepsTheFirstOfEqualEntries) {
  WriteFile(AppData() + L"Mozilla\\Firefox\\Profiles\\a\\prefs.js", Prefs(1, "proxy1", 808));
  WriteFile(AppData() + L"Opera\\Opera\\profile\\opera6.ini", "[Proxy]\nUse HTTP=1\nHTTP server=Proxy1:808\n");
  SetInternetSettings(1, L"proxy1:808");
  list_.Collect();
  std::vector<std::wstring> expected = {L"Mozilla 50 proxy1:808", L"Opera 50 Proxy1:808"};
  EXPECT_EQ(expected, Describe(list_.candidates));
}

TEST_F(ProxyListTest, SystemRegistryProxy) {
  struct Case {
    const wchar_t* server;
    std::vector<std::wstring> expected;
  } cases[] = {
      {L"http=proxy1:81;https=proxy2:82", {L"IE 200 proxy1:81"}},
      {L"HTTP://proxy1:81", {L"IE 200 proxy1:81"}},
      {L"ftp=proxy3:21", {L"IE 200 ftp=proxy3:21"}},
      {L"proxy1", {L"IE 200 proxy1"}},
      {L"", {L"IE 200 "}},  // a direct entry
  };
  for (const Case& c : cases) {
    SetInternetSettings(1, c.server);
    list_.candidates.clear();
    list_.AddSystemProxies();
    EXPECT_EQ(c.expected, Describe(list_.candidates)) << Utf8(c.server);
  }

  SetInternetSettings(0, L"proxy1:81");
  list_.candidates.clear();
  list_.AddSystemProxies();
  EXPECT_TRUE(list_.candidates.empty());

  // "ProxyEnable" stored as a string, and a server text that is too long.
  UniqueKey key;
  RegOpenKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_WRITE, key.Receive());
  RegSetValueExW(key.Get(), L"ProxyEnable", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), 4);
  list_.AddSystemProxies();
  EXPECT_TRUE(list_.candidates.empty());
  SetInternetSettings(1, std::wstring(1025, L'p').c_str());
  list_.AddSystemProxies();
  EXPECT_TRUE(list_.candidates.empty());
  SetInternetSettings(1, std::wstring(1024, L'p').c_str());
  list_.AddSystemProxies();
  EXPECT_EQ(1u, list_.candidates.size());
}

TEST_F(ProxyListTest, CnetcfgProxyFollowsTheRegistryProxy) {
  const std::string enabled = "[PROXY]\nEnableProxy=1\nHttp_Proxy_Server=http://proxy4\nHttp_Proxy_Port=8080\n";
  WriteFile(root_ + L"Da\\system\\net\\cnetcfg\\cnetcfg.ini", enabled);
  list_.AddSystemProxies();
  EXPECT_TRUE(list_.candidates.empty()) << "read without DaContents";

  WriteCnetcfg(enabled);
  list_.AddSystemProxies();
  EXPECT_EQ(std::vector<std::wstring>{L"IE 200 proxy4:8080"}, Describe(list_.candidates));

  list_.candidates.clear();
  SetInternetSettings(1, L"proxy1:81");
  list_.AddSystemProxies();
  std::vector<std::wstring> both = {L"IE 200 proxy1:81", L"IE 201 proxy4:8080"};
  EXPECT_EQ(both, Describe(list_.candidates));

  SetInternetSettings(0, nullptr);
  for (const char* content :
       {"[PROXY]\nEnableProxy=1\nHttp_Proxy_Server=proxy4\n", "[PROXY]\nEnableProxy=1\nHttp_Proxy_Port=8080\n",
        "[PROXY]\nEnableProxy=0\nHttp_Proxy_Server=proxy4\nHttp_Proxy_Port=8080\n"}) {
    WriteCnetcfg(content);
    list_.candidates.clear();
    list_.AddSystemProxies();
    EXPECT_TRUE(list_.candidates.empty()) << content;
  }
}

TEST_F(ProxyListTest, LanScriptThenDetectionWithConsecutivePriorities) {
  SetInternetSettings(1, L"proxy1:81");
  SetEnvironmentVariableW(L"VERIDANE_SEAM_LAN_SCRIPT", Script(L"lan.pac", "PROXY a:1; PROXY b:2").c_str());
  SetEnvironmentVariableW(L"VERIDANE_SEAM_LAN_FLAGS", L"13");  // direct, script address, detection
  list_.DetectAutoProxyUrl = &DetectScript;
  detectedScript = Utf8(Script(L"wpad.pac", "PROXY c:3;DIRECT"));
  list_.AddSystemProxies();
  std::vector<std::wstring> expected = {L"IE 200 proxy1:81", L"IE 201 a:1", L"IE 202 b:2", L"IE 203 c:3", L"IE 204 "};
  EXPECT_EQ(expected, Describe(list_.candidates));

  // Flag 4 alone, and the discovery flags play no part.
  list_.candidates.clear();
  SetEnvironmentVariableW(L"VERIDANE_SEAM_LAN_FLAGS", L"5");
  list_.AddSystemProxies();
  EXPECT_EQ(3u, list_.candidates.size());
  EXPECT_EQ(1, detections);
}

TEST_F(ProxyListTest, ScriptResultIsCachedOnlyWhenTheEvaluationSucceeds) {
  std::wstring script = Script(L"good.pac", "PROXY proxy1:81; DIRECT");
  std::set<std::wstring> tempBefore = FilesIn(TempFolder());
  EXPECT_EQ(L"PROXY proxy1:81; DIRECT", list_.GetAutoProxyResult(script));
  EXPECT_EQ(L"PROXY proxy1:81; DIRECT", list_.GetAutoProxyResult(script));
  EXPECT_EQ(1, downloads);

  std::wstring missing = script + L".missing";
  EXPECT_EQ(L"", list_.GetAutoProxyResult(missing));
  EXPECT_EQ(L"", list_.GetAutoProxyResult(missing));
  EXPECT_EQ(3, downloads);
  EXPECT_EQ(1u, list_.scriptResults.size());

  // No temporary script file is left behind, whichever way the evaluation ended.
  list_.URLDownloadToFileA = nullptr;
  EXPECT_EQ(L"", list_.GetAutoProxyResult(missing + L"2"));
  EXPECT_EQ(tempBefore, FilesIn(TempFolder()));
}

TEST_F(ProxyListTest, AutomaticDetectionRunsOnceWhenItSucceeds) {
  list_.DetectAutoProxyUrl = &DetectScript;
  detectedScript = Utf8(Script(L"wpad.pac", "PROXY wpad:80"));
  EXPECT_EQ(L"PROXY wpad:80", list_.GetAutoProxyResult(L""));
  EXPECT_EQ(L"PROXY wpad:80", list_.GetAutoProxyResult(L""));
  EXPECT_EQ(1, detections);
  EXPECT_EQ(1, downloads);

  // Wine's own detection finds nothing: an empty result that is not kept.
  CProxyList real(TheInstaller());
  EXPECT_EQ(L"", real.GetAutoProxyResult(L""));
  EXPECT_TRUE(real.scriptResults.empty());
}

TEST_F(ProxyListTest, ScriptAddressesLongerThan1023CharactersAreRefused) {
  std::wstring base = Script(L"long.pac", "PROXY long:1") + L"?";
  std::wstring exact = base + std::wstring(MaximumScriptAddressLength - base.size(), L'a');
  EXPECT_EQ(L"PROXY long:1", list_.GetAutoProxyResult(exact));
  EXPECT_EQ(1, downloads);
  EXPECT_EQ(L"", list_.GetAutoProxyResult(exact + L"a"));
  EXPECT_EQ(1, downloads);
}

TEST_F(ProxyListTest, LibraryIsDeinitialisedAfterEveryEvaluation) {
  // The script fails for the update server but answers any other host, so a
  // library still holding it after the evaluation would answer below.
  std::wstring script =
      ScriptFile(L"throws.pac", std::string("function FindProxyForURL(url, host) {\n  if (host == \"") +
                                    UpdateServerHost + "\") throw \"no\";\n  return \"PROXY left:1\";\n}\n");
  EXPECT_EQ(L"", list_.GetAutoProxyResult(script));
  auto getProxyInfo =
      reinterpret_cast<pfnInternetGetProxyInfo>(GetProcAddress(list_.jsproxy.Get(), "InternetGetProxyInfo"));
  ASSERT_NE(nullptr, getProxyInfo);
  char url[] = "http://other.test/";
  char host[] = "other.test";
  char buffer[256] = "";
  char* answer = buffer;
  DWORD length = sizeof(buffer);
  EXPECT_FALSE(getProxyInfo(url, sizeof(url), host, sizeof(host), &answer, &length));

  EXPECT_EQ(L"PROXY a:1", list_.GetAutoProxyResult(Script(L"good.pac", "PROXY a:1")));
  answer = buffer;
  length = sizeof(buffer);
  EXPECT_FALSE(getProxyInfo(url, sizeof(url), host, sizeof(host), &answer, &length));
}

TEST_F(ProxyListTest, WithoutTheAutoProxyLibraryNothingIsEvaluated) {
  list_.jsproxy.Reset();
  EXPECT_EQ(L"", list_.GetAutoProxyResult(Script(L"good.pac", "PROXY a:1")));
  EXPECT_EQ(0, downloads);
  list_.DetectAutoProxyUrl = nullptr;
  EXPECT_EQ(L"", list_.GetAutoProxyResult(L""));
}

}  // namespace
