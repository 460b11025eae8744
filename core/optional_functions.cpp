#include "core/optional_functions.h"

#include <cstdlib>

#include "core/privileges.h"
#include "core/system_utilities.h"

OptionalLibrary optionalKernel32 = {L"Kernel32.dll", OptionalLibraryNotTried};
OptionalLibrary optionalShell32 = {L"Shell32.dll", OptionalLibraryNotTried};

namespace {

void UnloadKernel32() {
  if (optionalKernel32.handle && optionalKernel32.handle != OptionalLibraryNotTried) {
    FreeLibrary(optionalKernel32.handle);
  }
  optionalKernel32.handle = OptionalLibraryNotTried;
}

void UnloadShell32() {
  if (optionalShell32.handle && optionalShell32.handle != OptionalLibraryNotTried) {
    FreeLibrary(optionalShell32.handle);
  }
  optionalShell32.handle = OptionalLibraryNotTried;
}

// Libraries other than the two above (tests make their own) are left loaded.
void RegisterUnload(OptionalLibrary& library) {
  if (&library == &optionalKernel32) std::atexit(UnloadKernel32);
  if (&library == &optionalShell32) std::atexit(UnloadShell32);
}

}  // namespace

HMODULE OptionalLibraryModule(OptionalLibrary& library) {
  if (library.handle == OptionalLibraryNotTried) {
    library.handle = LoadSystemLibrary(library.fileName);
    if (library.handle) RegisterUnload(library);
  }
  return library.handle;
}

namespace optional {
BOOL WINAPI IsUserAnAdminEntry::Fallback() { return IsAdminByToken() ? TRUE : FALSE; }
}  // namespace optional
