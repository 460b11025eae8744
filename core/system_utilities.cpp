#include "core/system_utilities.h"

#include "core/optional_functions.h"
#include "core/test_seams.h"

namespace {

enum class PlatformAnswer { NotAsked, Nt, NotNt };
PlatformAnswer platformAnswer = PlatformAnswer::NotAsked;

bool AskVersion(OSVERSIONINFOW& info) {
  info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  return GetVersionExW(&info) != FALSE;
}

}  // namespace

std::string ToNarrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  int length = static_cast<int>(text.size());
  int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string out(static_cast<size_t>(needed), '\0');
  int written = WideCharToMultiByte(CP_ACP, 0, text.data(), length, &out[0], needed, nullptr, nullptr);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

std::wstring ToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int length = static_cast<int>(text.size());
  int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(needed), L'\0');
  int written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, &out[0], needed);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

std::wstring GetProgramPath() {
  wchar_t path[MAX_PATH] = L"";
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length >= MAX_PATH) length = MAX_PATH - 1;
  return std::wstring(path, length);
}

std::wstring GetProgramFolder() {
  std::wstring path = GetProgramPath();
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool IsNtPlatform() {
  if (TestSeamIs(L"PLATFORM", L"9x")) return false;
  if (platformAnswer == PlatformAnswer::NotAsked) {
    OSVERSIONINFOW info;
    if (!AskVersion(info)) return false;  // not kept: the next call asks again
    platformAnswer = info.dwPlatformId == VER_PLATFORM_WIN32_NT ? PlatformAnswer::Nt : PlatformAnswer::NotNt;
  }
  return platformAnswer == PlatformAnswer::Nt;
}

bool IsWindows2000OrLater() {
  OSVERSIONINFOEXW extended = {};
  extended.dwOSVersionInfoSize = sizeof(extended);
  if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) return extended.dwMajorVersion >= 5;
  OSVERSIONINFOW basic;
  return AskVersion(basic) && basic.dwMajorVersion >= 5;
}

bool IsVistaOrLater() {
  OSVERSIONINFOW info;
  return AskVersion(info) && info.dwMajorVersion >= 6;
}

SIZE GetBitmapSize(HBITMAP bitmap) {
  SIZE size = {0, 0};
  BITMAP description = {};
  if (bitmap && GetObjectW(bitmap, sizeof(description), &description)) {
    size.cx = description.bmWidth;
    size.cy = description.bmHeight;
  }
  return size;
}

std::wstring GetSystemFolder() {
  wchar_t folder[MAX_PATH] = L"";
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  std::wstring result(folder, length);
  if (result.back() != L'\\') result += L'\\';
  return result;
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  std::wstring folder = GetSystemFolder();
  if (folder.empty()) return nullptr;
  return LoadLibraryW((folder + fileName).c_str());
}

void RestrictLibrarySearch() {
  // LOAD_LIBRARY_SEARCH_SYSTEM32; the headers of the oldest target lack the name.
  const DWORD searchSystem32 = 0x00000800;
  if (optional::SetDefaultDllDirectories(searchSystem32)) return;
  optional::SetDllDirectoryW(L"");
}
