// Where systems older than Windows 2000 keep the per-user application data, worked
// out from what the system says about itself. Pure: the caller gathers the facts.
#pragma once

#include <cstdint>
#include <string>

struct LegacySystemFacts {
  bool versionKnown = false;
  bool ntPlatform = false;
  uint32_t majorVersion = 0;
  bool windowsFolderKnown = false;
  std::wstring windowsFolder;  // as the system reports it, without trailing backslash
  bool userNameKnown = false;
  std::wstring userName;
};

// Windows 9x: "<Windows folder>\Application Data\" ("C:\Windows\Application Data\"
// when the folder is unknown). NT 4 and older: "<Windows folder>\Profiles\<user>\Application Data\"
// ("C:\Winnt\..." when the folder is unknown; empty without the user name), at
// most 260 characters. Later NT systems, or an unknown version:
// empty, since the shell should have answered there.
std::wstring LegacyAppDataFolder(const LegacySystemFacts& facts);
