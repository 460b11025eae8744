#include "core/settings_store.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include <vector>

#include "core/constants.h"
#include "core/handles.h"
#include "core/scrambler.h"
#include "proxy/proxy_settings.h"

namespace {

TEST(Scrambler, IsItsOwnInverseAndRestartsOnEveryCall) {
  std::vector<uint8_t> original(1024);
  for (size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 7);
  std::vector<uint8_t> once = original;
  ScrambleBytes(once.data(), once.size());
  EXPECT_NE(original, once);
  std::vector<uint8_t> again = original;
  ScrambleBytes(again.data(), again.size());
  EXPECT_EQ(once, again);
  ScrambleBytes(once.data(), once.size());
  EXPECT_EQ(original, once);
}

TEST(Scrambler, KeystreamIsFixedForever) {
  // Stored passwords depend on these bytes: they must never change.
  uint8_t zeros[8] = {};
  ScrambleBytes(zeros, sizeof(zeros));
  const uint8_t expected[8] = {0xdd ^ 0x16 ^ 0x61 ^ 0xcc ^ 0x5b ^ 0x75, 0x66 ^ 0xa9 ^ 0xc0 ^ 0xd9 ^ 0x80 ^ 0xbb,
                               0x77 ^ 0xe5 ^ 0xa8 ^ 0x6d ^ 0xbd ^ 0x72, 0x0a ^ 0x34 ^ 0x38 ^ 0x22 ^ 0xbb ^ 0xa7,
                               0x49 ^ 0x86 ^ 0xbc ^ 0x15 ^ 0x76 ^ 0xe1, 0xcc ^ 0x24 ^ 0xff ^ 0x4f ^ 0x16 ^ 0x1d,
                               0xaf ^ 0xc2 ^ 0xf4 ^ 0x55 ^ 0x6e ^ 0xd1, 0xe6 ^ 0x9f ^ 0x43 ^ 0x39 ^ 0xb4 ^ 0x78};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(expected[i], zeros[i]) << i;
}

class SettingsKeyTest : public testing::Test {
 protected:
  void SetUp() override { RegDeleteKeyW(HKEY_CURRENT_USER, SettingsKey); }
  void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, SettingsKey); }
  UniqueKey OpenKey() {
    UniqueKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.Receive(),
                    nullptr);
    return key;
  }
  void SetString(const wchar_t* name, const std::wstring& text) {
    UniqueKey key = OpenKey();
    RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * 2));
  }
};

TEST_F(SettingsKeyTest, SavedSettingsLoadBackWithTheirTypes) {
  ProxySettings saved{L"proxy.lan", L"3128", L"anna", L"s3cret!", true};
  SaveProxySettings(saved);
  ProxySettings loaded;
  LoadProxySettings(loaded);
  EXPECT_EQ(saved.address, loaded.address);
  EXPECT_EQ(saved.port, loaded.port);
  EXPECT_EQ(saved.user, loaded.user);
  EXPECT_EQ(saved.password, loaded.password);
  EXPECT_TRUE(loaded.enabled);

  UniqueKey key = OpenKey();
  DWORD type = 0;
  DWORD size = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key.Get(), ValueProxyPassword, nullptr, &type, nullptr, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(14u, size);  // 7 characters, no terminator
  std::vector<uint8_t> stored(size);
  RegQueryValueExW(key.Get(), ValueProxyPassword, nullptr, nullptr, stored.data(), &size);
  EXPECT_NE(0, memcmp(stored.data(), L"s3cret!", 14));  // never plain text
}

TEST_F(SettingsKeyTest, LongPasswordIsStoredAs512AndReadBackAs255) {
  ProxySettings saved;
  saved.password = std::wstring(600, L'p');
  SaveProxySettings(saved);
  UniqueKey key = OpenKey();
  DWORD size = 0;
  RegQueryValueExW(key.Get(), ValueProxyPassword, nullptr, nullptr, nullptr, &size);
  EXPECT_EQ(1024u, size);
  ProxySettings loaded;
  LoadProxySettings(loaded);
  EXPECT_EQ(std::wstring(255, L'p'), loaded.password);
}

TEST_F(SettingsKeyTest, EmptyPasswordIsAnEmptyBinaryAndLoadsAsEmpty) {
  ProxySettings saved;
  SaveProxySettings(saved);
  UniqueKey key = OpenKey();
  DWORD type = 0;
  DWORD size = 99;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key.Get(), ValueProxyPassword, nullptr, &type, nullptr, &size));
  EXPECT_EQ(0u, size);
  ProxySettings loaded;
  loaded.password = L"kept";
  LoadProxySettings(loaded);
  EXPECT_EQ(L"kept", loaded.password);
}

TEST_F(SettingsKeyTest, EnabledIsTheLeadingInteger) {
  const std::pair<const wchar_t*, bool> cases[] = {{L"0", false}, {L"", false},  {L"abc", false}, {L"1", true},
                                                   {L"2", true},  {L"-1", true}, {L" 1x", true}};
  for (const auto& c : cases) {
    SetString(ValueProxyEnabled, c.first);
    ProxySettings loaded;
    LoadProxySettings(loaded);
    EXPECT_EQ(c.second, loaded.enabled) << Utf8(c.first);
  }
}

TEST_F(SettingsKeyTest, OddValuesLeaveFieldsUnchanged) {
  UniqueKey key = OpenKey();
  DWORD number = 5;
  RegSetValueExW(key.Get(), ValueProxyAddress, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
  SetString(ValueProxyPort, std::wstring(260, L'9'));  // 261 characters with terminator: too long
  SetString(ValueProxyUser, std::wstring(259, L'u'));
  std::vector<uint8_t> big(1026, 0x41);
  RegSetValueExW(key.Get(), ValueProxyPassword, 0, REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
  ProxySettings loaded{L"a", L"1", L"b", L"c", false};
  LoadProxySettings(loaded);
  EXPECT_EQ(L"a", loaded.address);
  EXPECT_EQ(L"1", loaded.port);
  EXPECT_EQ(std::wstring(259, L'u'), loaded.user);
  std::wstring unterminated(260, L'a');  // 520 bytes: fits the size, but not as a text
  RegSetValueExW(key.Get(), ValueProxyAddress, 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated.data()), 520);
  LoadProxySettings(loaded);
  EXPECT_EQ(L"a", loaded.address);
  EXPECT_EQ(L"c", loaded.password);
  RegSetValueExW(key.Get(), ValueProxyPassword, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"zz"), 6);
  LoadProxySettings(loaded);
  EXPECT_EQ(L"c", loaded.password);
}

TEST_F(SettingsKeyTest, ExpandableStringsAreTakenLiterally) {
  UniqueKey key = OpenKey();
  const wchar_t text[] = L"%TEMP%";
  RegSetValueExW(key.Get(), ValueProxyAddress, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
  ProxySettings loaded;
  LoadProxySettings(loaded);
  EXPECT_EQ(L"%TEMP%", loaded.address);
}

}  // namespace
