// Registration of the product's ActiveX components.
#pragma once

#include <string>

class CInstaller;

// Registers a component file of the install folder. Out of process (inProcess
// false), the system's registration tool runs on it and its exit code 0 counts as
// success; when that fails, the component's own DllRegisterServer is called (the
// in-process way). Returns true when either way succeeded. The out-of-process way
// records its failure in messageText, adding " Both ways to register activex
// failed." when the fallback fails too.
bool RegisterComponent(CInstaller& installer, const std::wstring& fileName, bool inProcess);

// The registration tool's command line: regsvr32, the switch ("/s" or nothing when
// noisy) and the quoted path.
std::wstring RegistrationCommandLine(const std::wstring& path, bool noisy);
