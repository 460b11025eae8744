// The last steps of an installation: the uninstall entry and the hosting application.
#pragma once

#include <cstdint>
#include <string>

class CInstaller;

// Starts the hosting application with "lng=" and the configured language. Sets
// resultCode to 1 when it started, otherwise to 8 with messageText
// "Can not run Hosting Application - <path> - <error>".
void LaunchHost(CInstaller& installer);

// The hosting application's command line: its quoted path, a space, "lng=" and the
// language code. The path is quoted because the install folder holds spaces.
std::wstring HostCommandLine(const std::wstring& hostPath, uint32_t language);

// Writes the uninstall entry and, once per machine, the installation identifier
// "QVDSerial". Failures are not reported.
void WriteUninstallEntry(CInstaller& installer);

// The 32 lowercase hexadecimal digits of 16 bytes, in memory order.
std::string SerialFromBytes(const unsigned char (&bytes)[16]);
