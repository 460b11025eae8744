// The pure rules of proxy discovery: the system settings' proxy texts, prefs.js and
// the application-data folder of old systems.
#include <gtest/gtest.h>

#include "test_support.h"

#include "proxy/firefox_prefs.h"
#include "proxy/legacy_app_data.h"
#include "proxy/system_proxy_parsers.h"

namespace {

TEST(ParseProxyServerValue, Forms) {
  struct Case {
    const wchar_t* value;
    const wchar_t* host;
    int port;
  } cases[] = {
      {L"http=proxy1:81;https=proxy2:82", L"proxy1", 81},
      {L"https=proxy2:82;http=proxy1:81", L"proxy1", 81},
      {L"HTTP://proxy1:81", L"proxy1", 81},
      {L"http=Http://proxy1:81;ftp=x:1", L"proxy1", 81},
      {L"ftp=proxy3:21", L"ftp=proxy3", 21},
      {L"proxy1", L"proxy1", 0},
      {L"", L"", 0},
      {L"proxy1: 8080", L"proxy1", 8080},
      {L"proxy1:80:90", L"proxy1", 80},
      {L"proxy1:x", L"proxy1", 0},
      {L"HTTP=proxy1:81", L"HTTP=proxy1", 81},  // "http=" is case-sensitive
  };
  for (const Case& c : cases) {
    ProxyEntry entry = ParseProxyServerValue(c.value);
    EXPECT_EQ(c.host, entry.host) << Utf8(c.value);
    EXPECT_EQ(c.port, entry.port) << Utf8(c.value);
  }
  EXPECT_EQ(std::wstring(259, L'h'), ParseProxyServerValue(std::wstring(600, L'h') + L":1").host);
}

TEST(CnetcfgProxyHost, DropsTheSchemeAndKeepsThePort) {
  EXPECT_EQ(L"proxy4:8080", CnetcfgProxyHost(L"HTTP://proxy4:8080"));
  EXPECT_EQ(L"proxy4", CnetcfgProxyHost(L"proxy4"));
  EXPECT_EQ(L"ftp://proxy4", CnetcfgProxyHost(L"ftp://proxy4"));
  EXPECT_EQ(L"", CnetcfgProxyHost(L"http://"));
}

TEST(ReadPrefValueText, QuotesAndTerminators) {
  const std::pair<const char*, const char*> cases[] = {
      {"\", \"proxy1\");\n", "proxy1"},
      {"\",\"proxy1\");\n", "proxy1"},
      {"\", 'proxy1');\n", "proxy1"},
      {"\", 'pro\"xy');\n", "pro\"xy"},  // a single quote makes the single quote the terminator
      {"\", \"\");\n", ""},
      {"\" \"proxy1\");\n", ""},  // no comma
      {"\", \"proxy1);\n", ""},   // no closing quote: nothing taken
      {"\", true);\n", ""},       // not a text
      {"\", \"a,b\");\n", "a,b"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, ReadPrefValueText(c.first)) << c.first;
}

TEST(ReadPrefValueInteger, CommaQuotesAndDigits) {
  const std::pair<const char*, int> cases[] = {
      {"\", 1);", 1},     {"\",81);", 81}, {"\", \"81\");", 81}, {"\", '4');", 4},
      {"\", -2);", -2},   {"\" 1);", 0},   {"\", x1);", 0},      {"\", 99999999999);", INT32_MAX},
      {"\",   \t7);", 7},  // blanks before the number are accepted
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, ReadPrefValueInteger(c.first)) << c.first;
}

TEST(FirefoxPrefs, KeysInTableOrder) {
  struct Case {
    const char* content;
    int type;
    const char* url;
    const char* host;
    int port;
  } cases[] = {
      {"user_pref(\"network.proxy.type\", 1);\n"
       "user_pref(\"network.proxy.http\", \"proxy1\");\n"
       "user_pref(\"network.proxy.http_port\", 81);\n",
       1, "", "proxy1", 81},
      // The port line is never taken as the host.
      {"user_pref(\"network.proxy.http_port\", 81);\n", 0, "", "", 81},
      // A later line for the same key wins, also for a longer key.
      {"user_pref(\"network.proxy.autoconfig_url\", \"http://a/1.pac\");\n"
       "user_pref(\"network.proxy.autoconfig_url_backup\", \"http://b/2.pac\");\n",
       0, "http://b/2.pac", "", 0},
      {"user_pref(\"network.proxy.http\", \"proxy1\");\nuser_pref(\"network.proxy.http\", \"proxy2\");\n", 0, "",
       "proxy2", 0},
      // Only the first key of the table found in a line counts.
      {"user_pref(\"network.proxy.http\", \"h\"); network.proxy.type, 4\n", 4, "", "", 0},
      {"user_pref(\"network.proxy.type\", 2);\r\nuser_pref(\"network.proxy.autoconfig_url\", \"http://x/p.pac\");\r\n",
       2, "http://x/p.pac", "", 0},
      {"user_pref(\"Network.Proxy.Type\", 1);\n", 0, "", "", 0},  // case-sensitive
  };
  for (const Case& c : cases) {
    FirefoxPrefs prefs = ParseFirefoxPrefs(c.content);
    EXPECT_EQ(c.type, prefs.proxyType) << c.content;
    EXPECT_EQ(c.url, prefs.autoConfigUrl) << c.content;
    EXPECT_EQ(c.host, prefs.httpHost) << c.content;
    EXPECT_EQ(c.port, prefs.httpPort) << c.content;
  }
}

TEST(FirefoxPrefs, StopsAfterTheLineThatCompletesAllFourKeys) {
  std::string content =
      "user_pref(\"network.proxy.type\", 1);\n"
      "user_pref(\"network.proxy.autoconfig_url\", \"\");\n"
      "user_pref(\"network.proxy.http\", \"proxy1\");\n"
      "user_pref(\"network.proxy.http_port\", 81);\n"
      "user_pref(\"network.proxy.http\", \"later\");\n"
      "user_pref(\"network.proxy.type\", 0);\n";
  FirefoxPrefs prefs = ParseFirefoxPrefs(content);
  EXPECT_TRUE(prefs.AllSeen());
  EXPECT_EQ(1, prefs.proxyType);
  EXPECT_EQ("proxy1", prefs.httpHost);

  // Fed in small pieces, the reader asks for no more once the set is complete.
  FirefoxPrefsReader reader;
  size_t fed = 0;
  while (fed < content.size() && reader.Feed(content.data() + fed, 7)) fed += 7;
  EXPECT_LT(fed, content.size() - 40);
  EXPECT_EQ("proxy1", reader.prefs().httpHost);
}

TEST(FirefoxPrefs, AnyBytesAreSafe) {
  // A key cut by the 1023-byte piece boundary is not found; the next piece is a line of its own.
  std::string longLine = std::string(1020, 'x') + "network.proxy.type\", 1);\n";
  EXPECT_EQ(0, ParseFirefoxPrefs(longLine).proxyType);
  std::string pieceStart = std::string(1023, 'x') + "network.proxy.type\", 1);\n";
  EXPECT_EQ(1, ParseFirefoxPrefs(pieceStart).proxyType);

  // A zero byte ends the line as a line reader sees it.
  std::string zero = std::string("user_pref(\"network.proxy.http\", \"pro") + '\0' + "xy\");\n";
  EXPECT_EQ("", ParseFirefoxPrefs(zero).httpHost);

  // No line end at all, a value that runs off the end, and random bytes.
  EXPECT_EQ(3, ParseFirefoxPrefs("user_pref(\"network.proxy.type\", 3);").proxyType);
  EXPECT_EQ("", ParseFirefoxPrefs("user_pref(\"network.proxy.http\", \"proxy1").httpHost);
  EXPECT_EQ(0, ParseFirefoxPrefs("network.proxy.http_port").httpPort);
  std::string noise;
  for (int i = 0; i < 100000; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
  FirefoxPrefs prefs = ParseFirefoxPrefs(noise + "network.proxy.http");
  EXPECT_EQ("", prefs.httpHost);
}

TEST(LegacyAppDataFolder, ByPlatformAndVersion) {
  struct Case {
    const char* name;
    LegacySystemFacts facts;
    const wchar_t* folder;
  } cases[] = {
      {"9x", {true, false, 4, true, L"C:\\WINDOWS", false, L""}, L"C:\\WINDOWS\\Application Data\\"},
      {"9x, no Windows folder", {true, false, 4, false, L"", false, L""}, L"C:\\Windows\\Application Data\\"},
      {"NT 4", {true, true, 4, true, L"C:\\WINNT", true, L"user1"}, L"C:\\WINNT\\Profiles\\user1\\Application Data\\"},
      {"NT 3", {true, true, 3, false, L"", true, L"user1"}, L"C:\\Winnt\\Profiles\\user1\\Application Data\\"},
      {"NT 4, no user", {true, true, 4, true, L"C:\\WINNT", false, L""}, L""},
      {"NT 5", {true, true, 5, true, L"C:\\WINDOWS", true, L"user1"}, L""},
      {"no version", {false, false, 0, true, L"C:\\WINDOWS", true, L"user1"}, L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.folder, LegacyAppDataFolder(c.facts)) << c.name;

  LegacySystemFacts longName = {true, true, 4, true, L"C:\\WINNT", true, std::wstring(300, L'u')};
  EXPECT_EQ(260u, LegacyAppDataFolder(longName).size());
}

}  // namespace
