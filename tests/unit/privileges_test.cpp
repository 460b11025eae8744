#include "core/privileges.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "core/installer.h"
#include "core/system_utilities.h"
#include "core/text_utilities.h"
#include "test_support.h"

namespace {

TEST(Rights, LevelNamesAndLevels) {
  EXPECT_EQ(L"Low", RightsLevelName(0));
  EXPECT_EQ(L"Medium", RightsLevelName(1));
  EXPECT_EQ(L"High", RightsLevelName(2));
  EXPECT_EQ(L"System", RightsLevelName(3));
  EXPECT_EQ(RightsLevelHigh, RightsLevelFor(false, false));  // no accounts to check
  EXPECT_EQ(RightsLevelHigh, RightsLevelFor(true, true));
  EXPECT_EQ(RightsLevelMedium, RightsLevelFor(true, false));
}

// Wine runs every program as an administrator.
TEST(Rights, WineAdministratorIsHigh) {
  EXPECT_TRUE(IsAdminByToken());
  EXPECT_EQ(RightsLevelHigh, GetRightsLevel());
  EXPECT_EQ(L"High", RightsLevelName());
  EXPECT_TRUE(TheInstaller().hasAdminRights);
  EXPECT_EQ(ResultRunning, TheInstaller().resultCode.load());
  EXPECT_EQ(21u, TheInstaller().configuredLanguage);
  EXPECT_EQ(0, TheInstaller().language);
  EXPECT_FALSE(TheInstaller().isWow64);  // a 64-bit process
}

TEST(Rights, AdministratorsGroupCountsWhateverItsAttributes) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  PSID users = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                       &admins));
  ASSERT_TRUE(
      AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0, &users));
  // A group list as the token query returns it: the count, then the entries.
  const SID_AND_ATTRIBUTES entries[2] = {{users, SE_GROUP_ENABLED}, {admins, SE_GROUP_USE_FOR_DENY_ONLY}};
  std::vector<BYTE> buffer(offsetof(TOKEN_GROUPS, Groups) + sizeof(entries));
  memcpy(buffer.data() + offsetof(TOKEN_GROUPS, Groups), entries, sizeof(entries));
  auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer.data());
  for (DWORD count : {2u, 1u, 0u}) {
    groups->GroupCount = count;
    EXPECT_EQ(count == 2, GroupsIncludeAdministrators(*groups)) << count;
  }
  FreeSid(admins);
  FreeSid(users);
}

TEST(Rights, InstallParameters) {
  EXPECT_EQ(L"-e", InstallProcessParameters(false));
  EXPECT_EQ(L"-e -noisy", InstallProcessParameters(true));
}

std::wstring StartAndRecord(bool noisy, bool hasAdminRights = true) {
  std::wstring record = TempFolder() + L"install-instance.txt";
  DeleteFileW(record.c_str());
  SetEnvironmentVariableW(L"VERIDANE_RECORD", record.c_str());
  CInstaller installer;
  installer.noisy = noisy;
  installer.hasAdminRights = hasAdminRights;
  EXPECT_TRUE(StartInstallProcess(installer));
  SetEnvironmentVariableW(L"VERIDANE_RECORD", nullptr);
  for (int i = 0; i < 200 && GetFileAttributesW(record.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  Sleep(100);
  std::string bytes = ReadFileBytes(record);
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

TEST(Rights, AdministratorStartsTheInstallingInstanceDirectly) {
  EXPECT_EQ(L"\"" + GetProgramPath() + L"\" -e", StartAndRecord(false));
  EXPECT_EQ(L"\"" + GetProgramPath() + L"\" -e -noisy", StartAndRecord(true));
}

// A limited user goes through the shell's "runas" verb; the instance receives the
// same parameters.
TEST(Rights, LimitedUserStartsTheInstallingInstanceThroughTheShell) {
  std::wstring received = StartAndRecord(true, false);
  ASSERT_GE(received.size(), 10u);
  EXPECT_EQ(L" -e -noisy", received.substr(received.size() - 10));
  EXPECT_NE(std::wstring::npos, received.find(FileNamePart(GetProgramPath())));
}

}  // namespace
