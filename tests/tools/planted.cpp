// A library that must never be loaded: planted beside the installer under the name of
// a system library, it records that it was loaded in C:\planted-loaded.txt.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t name[MAX_PATH] = L"";
  DWORD length = GetModuleFileNameW(instance, name, MAX_PATH);
  HANDLE file = CreateFileW(L"C:\\planted-loaded.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, name, length * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
  }
  return TRUE;
}
