// Where the product's files live, and the installation from a folder.
#pragma once

#include <string>
#include <vector>

class CInstaller;

// installFolder joined with the suffix. The first call creates the folder (below
// Program Files with administrator rights, the work folder otherwise) with its
// "Modules" and "Quarantine" subfolders. When the folder cannot be made available,
// returns the suffix alone and sets messageText to "Can not create directory.".
std::wstring ResolveInstallPath(CInstaller& installer, const std::wstring& suffix);

// The Program Files folder followed by "\KAVRO\KAVRO Veridane".
std::wstring GetProductFolder();
// The system's temporary folder followed by "KVX".
std::wstring GetWorkFolder();

bool FolderExists(const std::wstring& path);
// True when the folder exists afterwards; missing parents are created.
bool CreateFolderTree(const std::wstring& path);
// Names (without folder) of the files matching the pattern, folders left out.
std::vector<std::wstring> ListFiles(const std::wstring& pattern);
// Deletes the folder's files (not its subfolders); one log line per failure.
void DeleteFolderFiles(const std::wstring& folder, std::wstring& log);

// The components to register, in order, for a process that does or does not run
// as a 32-bit process on 64-bit Windows.
std::vector<std::wstring> RegisteredComponents(bool isWow64);

// Replaces the install folder's files by those of the source folder, then registers
// the components. Returns 0 when every component registered, otherwise 7.
int InstallFromFolder(std::wstring& log, CInstaller& installer, const std::wstring& sourceFolder);

// Installs the files beside the program and writes the CAB hook log block.
int RunCabHook(CInstaller& installer);
