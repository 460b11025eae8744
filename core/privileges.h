// Rights levels and the start of the installing instance.
#pragma once

#include <windows.h>

#include <string>

class CInstaller;

enum RightsLevel { RightsLevelMedium = 1, RightsLevelHigh = 2 };

// 1 on an NT-based system for a user who is not an administrator; 2 for an
// administrator or on a system without user accounts. Computed once per process.
int GetRightsLevel();

// "Low", "Medium", "High" or "System" for a level; "Medium" or "High" in practice.
std::wstring RightsLevelName(int level);
std::wstring RightsLevelName();

// The level for a platform and an answer to "is the user an administrator?".
int RightsLevelFor(bool ntPlatform, bool userIsAdmin);

// Membership of the built-in Administrators group by the thread's or the process's
// token. Groups listed for deny checks only count too. False when the token cannot
// be read.
bool IsAdminByToken();

// Whether a token's group list holds the built-in Administrators group, whatever
// the group's attributes.
bool GroupsIncludeAdministrators(const TOKEN_GROUPS& groups);

// The parameters of the installing instance: "-e", plus " -noisy" when noisy.
std::wstring InstallProcessParameters(bool noisy);

// Starts the installing instance: through the shell's "runas" verb without
// administrator rights, directly with them. True when it was started.
bool StartInstallProcess(CInstaller& installer);
