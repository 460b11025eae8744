#include "core/installer.h"

#include "core/optional_functions.h"
#include "core/privileges.h"
#include "core/system_utilities.h"
#include "core/test_seams.h"

wchar_t windowTitle[WindowTitleSize] = L"";
wchar_t windowClassName[] = L"KavroPellmark";

namespace {
CInstaller theInstaller;
}  // namespace

CInstaller& TheInstaller() { return theInstaller; }

CInstaller::CInstaller() {
  hasAdminRights = GetRightsLevel() == RightsLevelHigh;
  if (IsNtPlatform()) {
    BOOL wow64 = FALSE;
    if (optional::IsWow64Process(GetCurrentProcess(), &wow64) && wow64) isWow64 = true;
  }
  // The tests run 64-bit programs only; this stands in for a 32-bit one on 64-bit Windows.
  if (TestSeamIs(L"WOW64", L"1")) isWow64 = true;
}

CInstaller::~CInstaller() {
  if (wininet) {
    FreeLibrary(wininet);
    wininet = nullptr;
  }
  // The texts, the tables and the strings go with their members, in reverse order
  // of declaration: the texts first, then languageTables and strings.
}
