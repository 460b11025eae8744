#include "core/optional_functions.h"

#include <gtest/gtest.h>

namespace {

OptionalLibrary testKernel32 = {L"Kernel32.dll", OptionalLibraryNotTried};
OptionalLibrary missingLibrary = {L"veridane-no-such-library.dll", OptionalLibraryNotTried};

int fallbackCalls = 0;

// An entry whose export does not exist, as on a system that lacks the function.
struct MissingExportEntry {
  using Fn = BOOL(WINAPI*)(int);
  static constexpr OptionalLibrary* library = &testKernel32;
  static constexpr const char* name = "VeridaneNoSuchExport";
  static BOOL WINAPI Fallback(int) {
    ++fallbackCalls;
    return FALSE;
  }
  static inline Fn pointer = &FirstCall<MissingExportEntry, BOOL, int>;
};

struct MissingLibraryEntry {
  using Fn = BOOL(WINAPI*)();
  static constexpr OptionalLibrary* library = &missingLibrary;
  static constexpr const char* name = "IsUserAnAdmin";
  static BOOL WINAPI Fallback() { return 7; }
  static inline Fn pointer = &FirstCall<MissingLibraryEntry, BOOL>;
};

TEST(OptionalFunctions, MissingExportBindsTheFallbackForGood) {
  EXPECT_EQ((&FirstCall<MissingExportEntry, BOOL, int>), MissingExportEntry::pointer);
  EXPECT_FALSE(MissingExportEntry::pointer(1));
  EXPECT_EQ(&MissingExportEntry::Fallback, MissingExportEntry::pointer);
  EXPECT_FALSE(MissingExportEntry::pointer(2));
  EXPECT_EQ(2, fallbackCalls);
  EXPECT_NE(nullptr, testKernel32.handle);
}

TEST(OptionalFunctions, MissingLibraryIsTriedOnceAndEveryEntryFallsBack) {
  EXPECT_EQ(7, MissingLibraryEntry::pointer());
  EXPECT_EQ(nullptr, missingLibrary.handle);  // load failed: never retried
  EXPECT_EQ(&MissingLibraryEntry::Fallback, MissingLibraryEntry::pointer);
}

TEST(OptionalFunctions, PresentFunctionsBindToTheSystem) {
  BOOL wow64 = TRUE;
  EXPECT_TRUE(optional::IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_FALSE(wow64);  // a 64-bit process
  EXPECT_NE((&FirstCall<optional::IsWow64ProcessEntry, BOOL, HANDLE, PBOOL>), optional::IsWow64ProcessEntry::pointer);
  EXPECT_NE(&optional::IsWow64ProcessEntry::Fallback, optional::IsWow64ProcessEntry::pointer);
  EXPECT_TRUE(optional::IsUserAnAdmin());
}

}  // namespace
