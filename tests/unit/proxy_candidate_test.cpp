#include "proxy/proxy_candidate.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include "proxy/proxy_settings.h"

namespace {

TEST(ParseProxyEntry, Examples) {
  struct Case {
    const wchar_t* entry;
    const wchar_t* host;
    int port;
  } cases[] = {
      {L"PROXY proxy1:312", L"proxy1", 312},
      {L"proxy1:808", L"proxy1", 808},
      {L"SOCKS proxy2:108", L"SOCKS proxy2", 108},
      {L"DIRECT", L"", 0},
      {L"PROXY proxy1", L"proxy1", 0},
      {L"proxy proxy1:80", L"proxy proxy1", 80},
      {L"proxy1:abc", L"proxy1", 0},
      {L"direct", L"direct", 0},
      {L"PROXY  p:1", L" p", 1},
      {L"[::1]:8080", L"[::1]", 8080},
      {L"p:99999999999", L"p", INT32_MAX},
      {L"", L"", 0},
  };
  for (const Case& c : cases) {
    ProxyEntry parsed = ParseProxyEntry(c.entry);
    EXPECT_EQ(c.host, parsed.host) << Utf8(c.entry);
    EXPECT_EQ(c.port, parsed.port) << Utf8(c.entry);
  }
}

TEST(ProxyString, CandidatesAndManualSettings) {
  EXPECT_EQ(L"proxy1:808", ProxyCandidate(1, L"IE", L"proxy1", 808).ProxyString());
  EXPECT_EQ(L"proxy1", ProxyCandidate(1, L"IE", L"PROXY proxy1").ProxyString());
  EXPECT_EQ(L"proxy1", ProxyCandidate(1, L"IE", L"proxy1:abc").ProxyString());
  EXPECT_EQ(L"", ProxyCandidate(1, L"IE", L"DIRECT").ProxyString());
  EXPECT_EQ(L"proxy.lan:3128", (ProxySettings{L"proxy.lan", L"3128", L"", L"", true}).ProxyString());
  EXPECT_EQ(L"proxy.lan", (ProxySettings{L"proxy.lan", L"", L"", L"", true}).ProxyString());
}

std::vector<std::wstring> Describe(const std::vector<ProxyCandidate>& list) {
  std::vector<std::wstring> out;
  for (const ProxyCandidate& c : list)
    out.push_back(c.source + L" " + std::to_wstring(c.priority) + L" " + c.ProxyString());
  return out;
}

TEST(SortAndRemoveDuplicates, StableByPriorityFirstOneWins) {
  std::vector<ProxyCandidate> list = {
      {200, L"IE", L"proxy1", 808},     {50, L"Mozilla", L"f1", 1}, {51, L"Mozilla", L"f2", 2},
      {50, L"Opera", L"o1", 3},         {51, L"Opera", L"o2", 4},   {201, L"IE", L"Proxy1", 808},
      {52, L"Mozilla", L"proxy1", 808}, {202, L"IE", L"DIRECT"},    {53, L"Mozilla", L"DIRECT"},
  };
  SortAndRemoveDuplicates(list);
  std::vector<std::wstring> expected = {L"Mozilla 50 f1:1",  L"Opera 50 o1:3",         L"Mozilla 51 f2:2",
                                        L"Opera 51 o2:4",    L"Mozilla 52 proxy1:808", L"Mozilla 53 ",
                                        L"IE 201 Proxy1:808"};
  EXPECT_EQ(expected, Describe(list));
}

TEST(SortAndRemoveDuplicates, ScriptResultGivesConsecutiveEntries) {
  std::vector<ProxyCandidate> list;
  int priority = 200;
  for (const wchar_t* entry : {L"PROXY proxy1:808", L"PROXY proxy2:312", L"DIRECT"}) {
    list.emplace_back(priority++, L"IE", entry);
  }
  SortAndRemoveDuplicates(list);
  ASSERT_EQ(3u, list.size());
  EXPECT_EQ(202, list[2].priority);
  EXPECT_TRUE(list[2].host.empty());
}

}  // namespace
