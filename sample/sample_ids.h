// Identity of the sample product's control, shared by its parts.
#pragma once

#include <windows.h>

// {6C3F2A5E-8D41-4B7A-9E12-5A0C7D3E9B21}
inline const CLSID CLSID_VeridaneScanner = {
    0x6c3f2a5e, 0x8d41, 0x4b7a, {0x9e, 0x12, 0x5a, 0x0c, 0x7d, 0x3e, 0x9b, 0x21}};
inline constexpr wchar_t kScannerClsid[] = L"{6C3F2A5E-8D41-4B7A-9E12-5A0C7D3E9B21}";
inline constexpr wchar_t kScannerProgId[] = L"Kavro.Veridane.Scanner";
// Where the hosting application records how it was started, beside its own file.
inline constexpr wchar_t kStartRecordName[] = L"VeridaneApp.started.txt";
