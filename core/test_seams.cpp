#include "core/test_seams.h"

#if defined(VERIDANE_TEST_SEAMS)
#include <windows.h>

std::wstring TestSeam(const wchar_t* name) {
  std::wstring variable = std::wstring(L"VERIDANE_SEAM_") + name;
  wchar_t value[64] = L"";
  DWORD length = GetEnvironmentVariableW(variable.c_str(), value, 64);
  return length > 0 && length < 64 ? std::wstring(value, length) : std::wstring();
}
#endif
