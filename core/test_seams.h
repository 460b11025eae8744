// Seams for conditions that the test machines cannot produce (a limited user, a
// system of the Windows 9x family, a build configured for another language). They exist only in the test build; the
// release build has none of them and always asks the system.
#pragma once

#include <string>

#if defined(VERIDANE_TEST_SEAMS)
// The value of the test environment variable VERIDANE_SEAM_<name>, or empty.
std::wstring TestSeam(const wchar_t* name);
inline bool TestSeamIs(const wchar_t* name, const wchar_t* value) { return TestSeam(name) == value; }
// The seam's value as a positive decimal number, or the fallback.
unsigned TestSeamNumber(const wchar_t* name, unsigned fallback);
#else
inline bool TestSeamIs(const wchar_t*, const wchar_t*) { return false; }
inline unsigned TestSeamNumber(const wchar_t*, unsigned fallback) { return fallback; }
#endif
