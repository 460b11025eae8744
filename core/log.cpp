#include "core/log.h"

#include <share.h>

#include <cstdio>

#include "core/settings_store.h"
#include "core/system_utilities.h"
#include "core/text_utilities.h"
#include "pipeline/file_install.h"

std::wstring GetLogFolder() {
  std::wstring folder;
  if (ReadInstallPath(folder) != ERROR_SUCCESS) folder.clear();
  if (folder.empty()) folder = GetProductFolder();
  return RemoveTrailingBackslash(folder);
}

void WriteLog(const std::wstring& text) {
  std::wstring path = GetLogFolder() + L"\\log.txt";
  FILE* file = _wfsopen(path.c_str(), L"ab+", _SH_DENYWR);
  if (!file) return;
  std::string narrow = ToNarrow(text);
  fwrite(narrow.data(), 1, narrow.size(), file);
  fclose(file);
}

std::wstring ErrorCodeFallbackText(DWORD code) {
  wchar_t text[40];
  swprintf(text, 40, L"Error %d ($%x)", static_cast<int>(code), static_cast<unsigned>(code));
  return text;
}

std::wstring ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  if (length == 0 || !buffer) return ErrorCodeFallbackText(code);
  std::wstring text(buffer, length);
  LocalFree(buffer);
  return text;
}

std::wstring LastErrorText() { return ErrorText(GetLastError()); }
