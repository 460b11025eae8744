// The per-user settings key "Software\KAVRO\Veridane": the install path and the
// manual proxy settings.
#pragma once

#include <windows.h>

#include <string>

// Stores "Path" (with terminator), creating the key when missing. Returns the
// registry status, or E_FAIL when the key can be neither opened nor created.
LONG WriteInstallPath(const std::wstring& folder);

// Reads "Path". Fails with ERROR_INVALID_DATA (13) for a value that is not a string,
// has an odd byte count or does not end with a terminator. A value of size 0 is the
// empty text.
LONG ReadInstallPath(std::wstring& folder);

struct ProxySettings;

// Fills the record from the settings key; a missing, mistyped or too long value
// leaves its field unchanged.
void LoadProxySettings(ProxySettings& settings);
// Stores the record; a value that fails to write is skipped.
void SaveProxySettings(const ProxySettings& settings);

// A string value of at most n characters (terminator included), taken literally.
// A text of n characters stored without a terminator is refused.
bool ReadStringValue(HKEY key, const wchar_t* name, std::wstring& text, size_t n);
// A scrambled binary value of at most 1025 bytes, cut to 255 characters.
bool ReadScrambledValue(HKEY key, const wchar_t* name, std::wstring& text);
// Stores the first 512 characters of the text scrambled, without terminator.
bool WriteScrambledValue(HKEY key, const wchar_t* name, const std::wstring& text);

// Sets "IE Crashed" to "1" for the hosting application; a failure is silent.
void WriteIeCrashedMarker();
