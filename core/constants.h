// Process-wide constant texts. They are constant data, so they exist before the
// entry runs and need no teardown.
#pragma once

#include "build_config.h"

inline constexpr wchar_t DownloadServerHost[] = VERIDANE_DOWNLOAD_HOST;
inline constexpr unsigned short DownloadServerPort = VERIDANE_DOWNLOAD_PORT;
inline constexpr char UpdateServerHost[] = VERIDANE_UPDATE_HOST;
inline constexpr unsigned ConfiguredLanguageDefault = VERIDANE_LANGUAGE;

inline constexpr wchar_t CabinetUrlPath[] = L"/special/qvd/Veridane.cab";
inline constexpr wchar_t CabinetFileName[] = L"Veridane.cab";

inline constexpr wchar_t CommandCabHook[] = L"-i";
inline constexpr wchar_t CommandNoisy[] = L"-noisy";
inline constexpr wchar_t CommandAutoStart[] = L"-e";
inline constexpr wchar_t CommandCopy[] = L"-copy";
inline constexpr wchar_t CommandVersion[] = L"#version=";

inline constexpr wchar_t UninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO Veridane";
inline constexpr wchar_t ProductKey[] = L"SOFTWARE\\Kavro\\KAVRO Veridane";
inline constexpr wchar_t HostFileName[] = L"VeridaneApp.exe";
inline constexpr wchar_t UninstallerFileName[] = L"VeridaneUninstaller.exe";
inline constexpr wchar_t LanguageParameter[] = L"lng=";
inline constexpr wchar_t NonNtHostParameter[] = L"Win98";

inline constexpr wchar_t SettingsKey[] = L"Software\\KAVRO\\Veridane";
inline constexpr wchar_t ValueInstallPath[] = L"Path";
inline constexpr wchar_t ValueIeCrashed[] = L"IE Crashed";
inline constexpr wchar_t ValueProxyAddress[] = L"qvd_proxy_addr";
inline constexpr wchar_t ValueProxyPort[] = L"qvd_proxy_port";
inline constexpr wchar_t ValueProxyUser[] = L"qvd_proxy_username";
inline constexpr wchar_t ValueProxyPassword[] = L"qvd_proxy_password_enc";
inline constexpr wchar_t ValueProxyEnabled[] = L"qvd_proxy_enabled";

inline constexpr wchar_t LineEnd[] = L"\r\n";
inline constexpr wchar_t WordSeparator[] = L" ";

// Log block headers.
inline constexpr wchar_t LogHeaderPrefix[] = L"KAVROPellmark@";

// Sizes of the fixed buffers handed to system functions.
inline constexpr int PathBufferSize = 260;
inline constexpr int WindowTitleSize = 100;
inline constexpr int PasswordReadSize = 256;
