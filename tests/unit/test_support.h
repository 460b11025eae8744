// Small helpers shared by the unit tests.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// UTF-8 form of a wide text, for failure messages.
inline std::string Utf8(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
  return out;
}

// The whole content of a file, or an empty text when it cannot be read.
inline std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return bytes;
  char chunk[4096];
  size_t read;
  while ((read = fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.append(chunk, read);
  fclose(file);
  return bytes;
}

inline std::wstring TempFolder() {
  wchar_t temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  return temp;
}
