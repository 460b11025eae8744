#include "core/log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/constants.h"
#include "core/handles.h"
#include "core/settings_store.h"
#include "pipeline/file_install.h"
#include "test_support.h"

namespace {

std::string ReadBytes(const std::wstring& path) { return ReadFileBytes(path); }

class LogFile : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = TempFolder() + L"logtest";
    CreateDirectoryW(folder_.c_str(), nullptr);
    path_ = folder_ + L"\\log.txt";
    DeleteFileW(path_.c_str());
    ASSERT_EQ(ERROR_SUCCESS, WriteInstallPath(folder_ + L"\\"));
  }
  void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, SettingsKey); }
  std::wstring folder_;
  std::wstring path_;
};

TEST_F(LogFile, BlocksAreAppendedByteForByte) {
  WriteLog(L"KAVROPellmark@High as downloader log:\r\nall ok\r\n");
  WriteLog(L"second\r\n");
  EXPECT_EQ("KAVROPellmark@High as downloader log:\r\nall ok\r\nsecond\r\n", ReadBytes(path_));
}

TEST_F(LogFile, PathWithAndWithoutTrailingBackslashGivesTheSameFolder) {
  EXPECT_EQ(folder_, GetLogFolder());
  ASSERT_EQ(ERROR_SUCCESS, WriteInstallPath(folder_));
  EXPECT_EQ(folder_, GetLogFolder());
}

TEST_F(LogFile, InvalidPathValuesCountAsAbsent) {
  UniqueKey key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_WRITE, key.Receive()));
  // Followed by more characters, so that the system cannot add a missing terminator.
  const wchar_t text[] = L"C:\\xyz";
  struct Bad {
    DWORD type;
    DWORD size;
  } cases[] = {{REG_SZ, 7}, {REG_SZ, 8}, {REG_BINARY, 10}, {REG_DWORD, 4}};
  for (const Bad& bad : cases) {
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key.Get(), ValueInstallPath, 0, bad.type, reinterpret_cast<const BYTE*>(text), bad.size));
    std::wstring read;
    EXPECT_EQ(ERROR_INVALID_DATA, ReadInstallPath(read)) << bad.type << " " << bad.size;
    EXPECT_EQ(GetProductFolder(), GetLogFolder());
  }
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), ValueInstallPath, 0, REG_SZ, nullptr, 0));
  std::wstring empty = L"x";
  EXPECT_EQ(ERROR_SUCCESS, ReadInstallPath(empty));
  EXPECT_EQ(L"", empty);
}

TEST_F(LogFile, AFileHeldByAWriterDropsTheBlockWithoutHarm) {
  WriteLog(L"first\r\n");
  {
    UniqueFile writer(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    WriteLog(L"dropped\r\n");
  }
  WriteLog(L"third\r\n");
  EXPECT_EQ("first\r\nthird\r\n", ReadBytes(path_));
}

TEST(ErrorTexts, SystemTextOrTheNumericFallback) {
  EXPECT_EQ(L"Error 1234567 ($12d687)", ErrorCodeFallbackText(1234567));
  EXPECT_EQ(L"Error -536870913 ($dfffffff)", ErrorCodeFallbackText(0xDFFFFFFF));
  SetLastError(0x2000FFFF);
  EXPECT_EQ(L"Error 536936447 ($2000ffff)", LastErrorText());
  SetLastError(ERROR_FILE_NOT_FOUND);
  std::wstring text = LastErrorText();
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(L"\r\n", text.substr(text.size() - 2));
}

}  // namespace
