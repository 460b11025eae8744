#include <gtest/gtest.h>

#include <cwchar>

#include "core/installer.h"
#include "ui/string_data.h"
#include "ui/string_table.h"

namespace {

std::wstring PolishRowText(int id) {
  for (const LanguageRow& row : kLanguageRows) {
    if (row.identifier == 21) return row.strings[id];
  }
  return L"";
}

std::wstring EnglishLicence() { return LicenceText(kEnglish); }

// A state whose language is derived from a configured code as the entry does it.
struct Configured {
  explicit Configured(uint32_t code) {
    installer.configuredLanguage = code;
    installer.language = static_cast<int16_t>(code % 10000);
  }
  CInstaller installer;
};

TEST(StringTable, ConfiguredPolishGivesPolishStringsAndLicence) {
  for (uint32_t code : {21u, 10021u}) {
    Configured c(code);
    EXPECT_EQ(PolishRowText(StrTermsOfUse), c.installer.GetString(StrTermsOfUse));
    EXPECT_EQ(21, c.installer.language);
    EXPECT_NE(EnglishLicence(), c.installer.GetString(StrLicence));
    EXPECT_EQ(std::wstring(LicenceText(21)), c.installer.GetString(StrLicence));
  }
}

TEST(StringTable, UnknownLanguageFallsBackToEnglishForGood) {
  Configured c(1045);
  EXPECT_EQ(L"Terms of use", c.installer.GetString(StrTermsOfUse));
  EXPECT_EQ(kEnglish, c.installer.language);
  EXPECT_EQ(EnglishLicence(), c.installer.GetString(StrLicence));
  EXPECT_EQ(L"Cancel", c.installer.GetString(StrCancel));
}

TEST(StringTable, GermanHasItsOwnStringsAndTheEnglishLicence) {
  Configured c(1031);
  EXPECT_NE(L"Terms of use", c.installer.GetString(StrTermsOfUse));
  EXPECT_EQ(EnglishLicence(), c.installer.GetString(StrLicence));
}

TEST(StringTable, LanguageZeroGivesLocalisationErrorEverywhere) {
  Configured c(10000);
  EXPECT_EQ(LocalisationError, c.installer.GetString(StrStart));
  EXPECT_EQ(LocalisationError, c.installer.GetString(StrLicence));
  EXPECT_TRUE(c.installer.strings.empty());
}

TEST(StringTable, IdentifiersOutsideTheTableGiveStringZero) {
  Configured c(21);
  for (int id : {26, 1000, -2, INT32_MIN}) EXPECT_EQ(PolishRowText(0), c.installer.GetString(id)) << id;
}

TEST(StringTable, EmptyOrMissingStringsInARowAreTakenFromEnglish) {
  static const wchar_t* row[kStringCount];
  for (int i = 0; i < kStringCount; ++i) row[i] = L"x";
  row[22] = L"";
  row[5] = nullptr;
  Configured c(999);
  c.installer.BuildLanguageTables();
  c.installer.languageTables[999] = row;
  EXPECT_EQ(L"The passwords you entered do not match!", c.installer.GetString(22));
  EXPECT_EQ(L"Downloading components...", c.installer.GetString(5));
  EXPECT_EQ(L"x", c.installer.GetString(4));
  EXPECT_EQ(999, c.installer.loadedLanguage);
}

TEST(StringData, EveryRowIsCompleteAndKeepsItsPlaceholders) {
  for (const LanguageRow& row : kLanguageRows) {
    SCOPED_TRACE(row.identifier);
    for (int i = 0; i < kStringCount; ++i) ASSERT_TRUE(row.strings[i] && *row.strings[i]) << i;
    EXPECT_NE(nullptr, wcsstr(row.strings[StrUnexpectedError], L"%d"));
    EXPECT_NE(nullptr, wcsstr(row.strings[StrThreeSteps], L"\n     1."));
    if (row.licence) {
      EXPECT_NE(nullptr, wcsstr(row.licence, L"\r\n"));
    }
  }
  EXPECT_EQ(L"Downloading KAVRO Veridane...", std::wstring(kLanguageRows[0].strings[StrDownloadingTitle]));
  EXPECT_GE(wcslen(LicenceText(kEnglish)), 6000u);
}

}  // namespace
