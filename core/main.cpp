// The installer's process entry. Everything else lives in the library that the
// tests link too.
#include <windows.h>

#include "core/entry.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
  return RunInstaller(instance, commandLine, showCommand);
}
