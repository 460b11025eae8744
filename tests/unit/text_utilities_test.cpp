#include "core/text_utilities.h"

#include <gtest/gtest.h>

#include "core/system_utilities.h"

namespace {

using Strings = std::vector<std::wstring>;

TEST(Trim, RemovesOnlyOuterSpacesTabsAndLineEnds) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L" \ta b\r\n", L"a b"}, {L"\r\n", L""}, {L"", L""}, {L"a\t \tb", L"a\t \tb"}, {L"\vx\v", L"\vx\v"}};
  for (const auto& c : cases) EXPECT_EQ(c.second, Trim(c.first));
}

TEST(SplitList, DropsEmptyPiecesAndKeepsOrder) {
  EXPECT_EQ((Strings{L"a", L"b"}), SplitList(L";;a; b ;;"));
  EXPECT_EQ((Strings{L"PROXY p:1", L"DIRECT"}), SplitList(L"PROXY p:1; DIRECT"));
  EXPECT_EQ(Strings{}, SplitList(L" ; \t;\r\n"));
  EXPECT_EQ(Strings{}, SplitList(L""));
}

TEST(PathTexts, BackslashesAndFileNames) {
  EXPECT_EQ(L"-5", IntToText(-5));
  EXPECT_EQ(L"-2147483648", IntToText(INT32_MIN));
  EXPECT_EQ(L"setup.exe", FileNamePart(L"setup.exe"));
  EXPECT_EQ(L"setup.exe", FileNamePart(L"C:\\dl\\setup.exe"));
  EXPECT_EQ(L"", FileNamePart(L"C:\\dl\\"));
  EXPECT_EQ(L"", AddTrailingBackslash(L""));
  EXPECT_EQ(L"C:\\a\\", AddTrailingBackslash(L"C:\\a"));
  EXPECT_EQ(L"C:\\a\\", AddTrailingBackslash(L"C:\\a\\"));
  EXPECT_EQ(L"C:\\a\\", RemoveTrailingBackslash(L"C:\\a\\\\"));
  EXPECT_EQ(L"C:\\a", RemoveTrailingBackslash(L"C:\\a"));
}

TEST(CopyTruncated, KeepsAtMostOneCharacterLessThanTheBuffer) {
  std::wstring text(300, L'x');
  EXPECT_EQ(255u, CopyTruncated(text, 256).size());
  EXPECT_EQ(255u, CopyTruncated(std::wstring(255, L'x'), 256).size());
  EXPECT_EQ(255u, CopyTruncated(std::wstring(256, L'x'), 256).size());
  EXPECT_EQ(L"ab", CopyTruncated(L"ab", 3));
}

TEST(LeadingInteger, ReadsLikeTheRuntimeConversion) {
  const std::pair<const wchar_t*, int> cases[] = {
      {L"1", 1},   {L"2", 2},      {L"-1", -1}, {L"0", 0},     {L"", 0},
      {L"abc", 0}, {L"  42x", 42}, {L"+7", 7},  {L"\t-3", -3}, {L"99999999999", INT32_MAX}};
  for (const auto& c : cases) EXPECT_EQ(c.second, LeadingInteger(std::wstring(c.first))) << c.second;
}

TEST(CodePageConversion, RoundTripsAndIsSizedByTheSystem) {
  EXPECT_EQ("proxy1:808", ToNarrow(L"proxy1:808"));
  EXPECT_EQ(L"C:\\Program Files", ToWide("C:\\Program Files"));
  EXPECT_EQ("", ToNarrow(L""));
  // Characters outside the code page become one replacement byte each, never a
  // text cut short or padded with terminators.
  std::string narrow = ToNarrow(L"a\u4e2db");
  ASSERT_EQ(3u, narrow.size());
  EXPECT_EQ('a', narrow[0]);
  EXPECT_EQ('b', narrow[2]);
}

TEST(ProgramPath, FolderKeepsItsTrailingBackslash) {
  std::wstring folder = GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(L'\\', folder.back());
  EXPECT_EQ(GetProgramPath(), folder + FileNamePart(GetProgramPath()));
}

}  // namespace
