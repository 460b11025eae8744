// Small functions on the system: code-page conversion, the program's own path,
// the system version and the system folder.
#pragma once

#include <windows.h>

#include <string>

// Converts to the system ANSI code page. The output is sized by the system's own
// count, so texts in double-byte code pages are neither cut nor padded.
std::string ToNarrow(const std::wstring& text);
// Converts from the system ANSI code page, sized the same way.
std::wstring ToWide(const std::string& text);

// Full path of the running program's file.
std::wstring GetProgramPath();
// GetProgramPath up to and including its last backslash.
std::wstring GetProgramFolder();

// True on NT-based systems; asked once per process (a refused question is asked again).
bool IsNtPlatform();
bool IsWindows2000OrLater();
bool IsVistaOrLater();

// Width and height of a bitmap; 0 and 0 for a null handle.
SIZE GetBitmapSize(HBITMAP bitmap);

// The system folder with a trailing backslash, e.g. "C:\Windows\system32\".
std::wstring GetSystemFolder();
// Loads a system library from the system folder by its full path, so that a file of
// the same name beside the program is never loaded.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// Looks an export up into a typed function pointer. False, with the pointer null,
// when the module is null or lacks the export.
template <typename Fn>
bool BindExport(HMODULE module, const char* name, Fn& target) {
  target = module ? reinterpret_cast<Fn>(GetProcAddress(module, name)) : nullptr;
  return target != nullptr;
}

// Restricts the search for libraries loaded by name to the system folder, before
// anything is loaded by name. Where the system lacks that, it at least drops the
// current folder from the search.
void RestrictLibrarySearch();
