// The sample product's uninstaller: unregisters the controls, removes the uninstall
// entry and the product key's identifier, and deletes the product's files (itself
// at the next restart, since it is running).
#include <windows.h>

#include <string>

namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO Veridane";
const wchar_t kProductKey[] = L"SOFTWARE\\Kavro\\KAVRO Veridane";

std::wstring OwnPath() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

void Unregister(const std::wstring& path) {
  HMODULE library = LoadLibraryW(path.c_str());
  if (!library) return;
  using Server = HRESULT(STDAPICALLTYPE*)();
  auto unregister = reinterpret_cast<Server>(GetProcAddress(library, "DllUnregisterServer"));
  if (unregister) unregister();
  FreeLibrary(library);
}

void DeleteFiles(const std::wstring& folder, const std::wstring& self) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring path = folder + data.cFileName;
    if (lstrcmpiW(path.c_str(), self.c_str()) == 0) continue;
    DeleteFileW(path.c_str());
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring self = OwnPath();
  std::wstring folder = self.substr(0, self.rfind(L'\\') + 1);
  Unregister(folder + L"Veridane.ocx");
  Unregister(folder + L"Veridane64.ocx");
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
  HKEY product = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_SET_VALUE, &product) == ERROR_SUCCESS) {
    RegDeleteValueW(product, L"QVDSerial");
    RegCloseKey(product);
  }
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kProductKey);
  DeleteFiles(folder, self);
  MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return 0;
}
