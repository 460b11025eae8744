#include "proxy/legacy_app_data.h"

#include "core/text_utilities.h"

namespace {

const size_t kFormattedSize = 261;

}  // namespace

std::wstring LegacyAppDataFolder(const LegacySystemFacts& facts) {
  if (!facts.versionKnown) return std::wstring();
  if (!facts.ntPlatform) {
    std::wstring windows = facts.windowsFolderKnown ? facts.windowsFolder : L"C:\\Windows";
    return windows + L"\\Application Data\\";
  }
  if (facts.majorVersion > 4 || !facts.userNameKnown) return std::wstring();
  std::wstring windows = facts.windowsFolderKnown ? facts.windowsFolder : L"C:\\Winnt";
  return CopyTruncated(windows + L"\\Profiles\\" + facts.userName + L"\\Application Data\\", kFormattedSize);
}
