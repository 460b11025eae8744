// The process entry's work: start-up, the choice of the run mode, and the modes.
#pragma once

#include <windows.h>

#include <string>

enum class RunMode { Copy, CabHook, LicenceView, AutoStart };

// The mode for a set of flags: copy wins over the CAB hook, which wins over the
// interactive forms.
RunMode SelectRunMode(bool copyMode, bool cabHookMode, bool autoStart);

// Runs the installer with the command line (without the program's name) and the
// show command; returns the process's exit code.
int RunInstaller(HINSTANCE instance, const wchar_t* commandLine, int showCommand);
