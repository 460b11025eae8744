#include "core/test_seams.h"

#if defined(VERIDANE_TEST_SEAMS)
#include <windows.h>

#include <cwchar>

std::wstring TestSeam(const wchar_t* name) {
  std::wstring variable = std::wstring(L"VERIDANE_SEAM_") + name;
  wchar_t value[64] = L"";
  DWORD length = GetEnvironmentVariableW(variable.c_str(), value, 64);
  return length > 0 && length < 64 ? std::wstring(value, length) : std::wstring();
}

unsigned TestSeamNumber(const wchar_t* name, unsigned fallback) {
  std::wstring value = TestSeam(name);
  if (value.empty() || value.find_first_not_of(L"0123456789") != std::wstring::npos) return fallback;
  unsigned number = static_cast<unsigned>(wcstoul(value.c_str(), nullptr, 10));
  return number > 0 ? number : fallback;
}
#endif
