// System functions that older systems lack. None is imported statically: each is a
// process-wide pointer that callers call like the system function. The first call
// goes through a stub that binds the pointer for good, to the real function when its
// library exports it, otherwise to a fallback with a fixed result.
#pragma once

#include <windows.h>

// One system library of optional functions. Its handle is "not tried yet" until the
// first lookup, then null (the load failed, never retried) or the loaded module,
// which is unloaded exactly once at process exit.
struct OptionalLibrary {
  const wchar_t* fileName;
  HMODULE handle;
};

inline HMODULE const OptionalLibraryNotTried = reinterpret_cast<HMODULE>(~static_cast<ULONG_PTR>(0));

extern OptionalLibrary optionalKernel32;
extern OptionalLibrary optionalShell32;

// Returns the library's module, loading it on first use; null when it cannot load.
HMODULE OptionalLibraryModule(OptionalLibrary& library);

// Binds an entry: the real function when the library has it, else the fallback.
// Returns whether the real function was found. Entry types provide Fn, library,
// name, Fallback and pointer.
template <typename Entry>
bool ResolveOptional() {
  HMODULE module = OptionalLibraryModule(*Entry::library);
  FARPROC found = module ? GetProcAddress(module, Entry::name) : nullptr;
  if (found) {
    Entry::pointer = reinterpret_cast<typename Entry::Fn>(found);
    return true;
  }
  Entry::pointer = &Entry::Fallback;
  return false;
}

// The first-call stub of an entry: binds the entry, then calls through it with the
// caller's own arguments.
template <typename Entry, typename R, typename... Args>
R WINAPI FirstCall(Args... args) {
  ResolveOptional<Entry>();
  return Entry::pointer(args...);
}

namespace optional {

struct IsWow64ProcessEntry {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  static constexpr OptionalLibrary* library = &optionalKernel32;
  static constexpr const char* name = "IsWow64Process";
  static BOOL WINAPI Fallback(HANDLE, PBOOL) { return FALSE; }
  static inline Fn pointer = &FirstCall<IsWow64ProcessEntry, BOOL, HANDLE, PBOOL>;
};

struct Wow64DisableWow64FsRedirectionEntry {
  using Fn = BOOL(WINAPI*)(PVOID*);
  static constexpr OptionalLibrary* library = &optionalKernel32;
  static constexpr const char* name = "Wow64DisableWow64FsRedirection";
  static BOOL WINAPI Fallback(PVOID*) { return FALSE; }
  static inline Fn pointer = &FirstCall<Wow64DisableWow64FsRedirectionEntry, BOOL, PVOID*>;
};

struct Wow64RevertWow64FsRedirectionEntry {
  using Fn = BOOL(WINAPI*)(PVOID);
  static constexpr OptionalLibrary* library = &optionalKernel32;
  static constexpr const char* name = "Wow64RevertWow64FsRedirection";
  static BOOL WINAPI Fallback(PVOID) { return FALSE; }
  static inline Fn pointer = &FirstCall<Wow64RevertWow64FsRedirectionEntry, BOOL, PVOID>;
};

// Library search restriction (Windows 7 with the loader update, and later).
struct SetDefaultDllDirectoriesEntry {
  using Fn = BOOL(WINAPI*)(DWORD);
  static constexpr OptionalLibrary* library = &optionalKernel32;
  static constexpr const char* name = "SetDefaultDllDirectories";
  static BOOL WINAPI Fallback(DWORD) { return FALSE; }
  static inline Fn pointer = &FirstCall<SetDefaultDllDirectoriesEntry, BOOL, DWORD>;
};

// Drops the current folder from the library search (XP SP1 and later).
struct SetDllDirectoryWEntry {
  using Fn = BOOL(WINAPI*)(LPCWSTR);
  static constexpr OptionalLibrary* library = &optionalKernel32;
  static constexpr const char* name = "SetDllDirectoryW";
  static BOOL WINAPI Fallback(LPCWSTR) { return FALSE; }
  static inline Fn pointer = &FirstCall<SetDllDirectoryWEntry, BOOL, LPCWSTR>;
};

// Falls back to the token test of the privileges module.
struct IsUserAnAdminEntry {
  using Fn = BOOL(WINAPI*)();
  static constexpr OptionalLibrary* library = &optionalShell32;
  static constexpr const char* name = "IsUserAnAdmin";
  static BOOL WINAPI Fallback();
  static inline Fn pointer = &FirstCall<IsUserAnAdminEntry, BOOL>;
};

struct SHGetSpecialFolderPathWEntry {
  using Fn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
  static constexpr OptionalLibrary* library = &optionalShell32;
  static constexpr const char* name = "SHGetSpecialFolderPathW";
  static BOOL WINAPI Fallback(HWND, LPWSTR, int, BOOL) { return FALSE; }
  static inline Fn pointer = &FirstCall<SHGetSpecialFolderPathWEntry, BOOL, HWND, LPWSTR, int, BOOL>;
};

// Call these exactly like the system functions of the same names.
template <typename... Args>
BOOL IsWow64Process(Args... args) {
  return IsWow64ProcessEntry::pointer(args...);
}
template <typename... Args>
BOOL Wow64DisableWow64FsRedirection(Args... args) {
  return Wow64DisableWow64FsRedirectionEntry::pointer(args...);
}
template <typename... Args>
BOOL Wow64RevertWow64FsRedirection(Args... args) {
  return Wow64RevertWow64FsRedirectionEntry::pointer(args...);
}
template <typename... Args>
BOOL SetDefaultDllDirectories(Args... args) {
  return SetDefaultDllDirectoriesEntry::pointer(args...);
}
template <typename... Args>
BOOL SetDllDirectoryW(Args... args) {
  return SetDllDirectoryWEntry::pointer(args...);
}
inline BOOL IsUserAnAdmin() { return IsUserAnAdminEntry::pointer(); }
template <typename... Args>
BOOL SHGetSpecialFolderPathW(Args... args) {
  return SHGetSpecialFolderPathWEntry::pointer(args...);
}

}  // namespace optional
