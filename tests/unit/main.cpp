// Test runner. When the program is started as the installing instance ("-e"), as
// StartInstallProcess does, it records its command line in the file named by
// VERIDANE_RECORD and ends, so that a test can check what the instance received.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>

namespace {

bool RecordInstallInstance() {
  wchar_t record[MAX_PATH] = L"";
  if (!GetEnvironmentVariableW(L"VERIDANE_RECORD", record, MAX_PATH)) return false;
  const wchar_t* commandLine = GetCommandLineW();
  if (!wcsstr(commandLine, L" -e")) return false;
  FILE* file = _wfopen(record, L"wb");
  if (file) {
    fwrite(commandLine, sizeof(wchar_t), wcslen(commandLine), file);
    fclose(file);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (RecordInstallInstance()) return 0;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
