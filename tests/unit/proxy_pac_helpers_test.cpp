// The helper functions handed to jsproxy.dll, over the real ws2_32.dll that a
// proxy list loads.
#include "proxy/pac_helpers.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/installer.h"
#include "proxy/proxy_list.h"

namespace {

class PacHelpersTest : public testing::Test {
 protected:
  CProxyList list{TheInstaller()};
};

TEST_F(PacHelpersTest, IsInNet) {
  struct Case {
    const char* address;
    const char* network;
    const char* mask;
    bool inNet;
  } cases[] = {
      {"10.1.2.3", "10.1.0.0", "255.255.0.0", true},
      {"10.1.2.3", "10.1.0.1", "255.255.0.0", false},  // the network is not masked
      {"10.1.2.3", "10.1.2.3", "255.255.255.255", true},
      {"10.1.2.3", "255.255.255.255", "255.255.255.255", false},
      {"255.255.255.255", "0.0.0.0", "0.0.0.0", false},
      {"10.2.2.3", "10.1.0.0", "255.255.0.0", false},
      {"host.name", "10.1.0.0", "255.255.0.0", false},
      {"10.1.2.3", "0.0.0.0", "0.0.0.0", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.inNet, IsInNet(const_cast<char*>(c.address), const_cast<char*>(c.network), const_cast<char*>(c.mask)))
        << c.address << " " << c.network << " " << c.mask;
  }
  EXPECT_FALSE(IsInNet(nullptr, const_cast<char*>("10.1.0.0"), const_cast<char*>("255.255.0.0")));
}

TEST_F(PacHelpersTest, ResolveHostNameOfNumericHosts) {
  char buffer[64];
  memset(buffer, 'z', sizeof(buffer));
  DWORD size = 16;
  EXPECT_EQ(0u, ResolveHostName(const_cast<char*>("10.1.2.3"), buffer, &size));
  EXPECT_STREQ("10.1.2.3", buffer);

  memset(buffer, 'z', sizeof(buffer));
  size = 8;
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
            ResolveHostName(const_cast<char*>("10.1.2.3"), buffer, &size));
  EXPECT_EQ(9u, size);
  EXPECT_EQ('z', buffer[0]);

  size = 64;
  EXPECT_EQ(0u, ResolveHostName(const_cast<char*>("::1"), buffer, &size));
  EXPECT_STREQ("::1", buffer);
  size = 64;
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), ResolveHostName(const_cast<char*>("::1"), nullptr, &size));
  EXPECT_EQ(4u, size);
}

TEST_F(PacHelpersTest, ResolveHostNameOfNames) {
  char buffer[64] = "";
  DWORD size = sizeof(buffer);
  EXPECT_EQ(0u, ResolveHostName(const_cast<char*>("localhost"), buffer, &size));
  EXPECT_STREQ("127.0.0.1", buffer);
  EXPECT_TRUE(IsResolvable(const_cast<char*>("localhost")));
  EXPECT_FALSE(IsResolvable(const_cast<char*>("no-such-host.invalid")));
  EXPECT_FALSE(IsResolvable(nullptr));
  size = sizeof(buffer);
  EXPECT_EQ(12007u, ResolveHostName(const_cast<char*>("localhost"), buffer, nullptr));

  // This machine's own address comes back as digits, the same as its name gives.
  size = sizeof(buffer);
  DWORD status = GetIPAddress(buffer, &size);
  char name[256] = "";
  ASSERT_EQ(0, winsockEntries.gethostname(name, sizeof(name)));
  char expected[64] = "";
  DWORD expectedSize = sizeof(expected);
  EXPECT_EQ(ResolveHostName(name, expected, &expectedSize), status);
  if (status == 0) {
    EXPECT_STREQ(expected, buffer);
  }
}

// A name with IPv6 addresses only: Wine's resolver here has none, so the lookup
// that the helpers reach through the process-wide entry point stands in for it.
int WSAAPI Ipv6OnlyLookup(const char* host, const char*, const addrinfo* hints, addrinfo** result) {
  if (hints->ai_flags & AI_NUMERICHOST) return WSAHOST_NOT_FOUND;
  if (strcmp(host, "v6only.test") != 0) return WSAHOST_NOT_FOUND;
  static sockaddr_in6 address = {};
  address.sin6_family = AF_INET6;
  address.sin6_addr.s6_addr[15] = 1;
  static addrinfo entry = {};
  entry.ai_family = AF_INET6;
  entry.ai_addrlen = sizeof(address);
  entry.ai_addr = reinterpret_cast<sockaddr*>(&address);
  *result = &entry;
  return 0;
}
void WSAAPI KeepStaticList(addrinfo*) {}

TEST_F(PacHelpersTest, NameWithIpv6AddressesOnlyIsNotResolved) {
  WinsockEntryPoints real = winsockEntries;
  winsockEntries.getaddrinfo = &Ipv6OnlyLookup;
  winsockEntries.freeaddrinfo = &KeepStaticList;
  char buffer[64] = "";
  DWORD size = sizeof(buffer);
  EXPECT_EQ(12007u, ResolveHostName(const_cast<char*>("v6only.test"), buffer, &size));
  winsockEntries = real;
}

TEST_F(PacHelpersTest, WithoutWinsockNothingResolves) {
  ClearWinsockEntries();
  char buffer[64] = "";
  DWORD size = sizeof(buffer);
  EXPECT_FALSE(IsResolvable(const_cast<char*>("10.1.2.3")));
  EXPECT_EQ(12004u, GetIPAddress(buffer, &size));
  EXPECT_FALSE(IsInNet(const_cast<char*>("10.1.2.3"), const_cast<char*>("10.1.0.0"), const_cast<char*>("255.255.0.0")));
  EXPECT_EQ(12007u, ResolveHostName(const_cast<char*>("10.1.2.3"), buffer, &size));
}

TEST(ProxyListLifetime, WinsockEntriesLiveAsLongAsTheList) {
  {
    CProxyList list(TheInstaller());
    EXPECT_NE(nullptr, winsockEntries.getaddrinfo);
    EXPECT_NE(nullptr, winsockEntries.inet_addr);
    EXPECT_TRUE(list.jsproxy && list.wininet && list.urlmon && list.ws2_32);
  }
  EXPECT_EQ(nullptr, winsockEntries.getaddrinfo);
  EXPECT_EQ(nullptr, winsockEntries.gethostname);
  EXPECT_EQ(nullptr, winsockEntries.inet_addr);
  EXPECT_EQ(nullptr, winsockEntries.getnameinfo);
  EXPECT_EQ(nullptr, winsockEntries.freeaddrinfo);
}

}  // namespace
