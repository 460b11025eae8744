// The installer's one process-wide state object and the texts that go with it.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/constants.h"
#include "proxy/proxy_settings.h"

class CDownloadWnd;

// Worker results, as left in resultCode.
enum ResultCode : int32_t {
  ResultRunning = -1,
  ResultSuccess = 1,
  ResultNoAdminRights = 2,
  ResultExtractFailed = 3,
  ResultNoInternetLibrary = 4,
  ResultNoConnection = 5,
  ResultTransferFailed = 6,
  ResultHostNotStarted = 8,
};

class CInstaller {
 public:
  CInstaller();
  ~CInstaller();
  CInstaller(const CInstaller&) = delete;
  CInstaller& operator=(const CInstaller&) = delete;

  // String table (ui/string_table.cpp).
  std::wstring GetString(int id);
  bool LoadLanguage(int16_t identifier);
  void BuildLanguageTables();

  int16_t language = 0;
  int16_t loadedLanguage = 0;
  std::vector<std::wstring> strings;
  std::map<int16_t, const wchar_t* const*> languageTables;

  uint32_t configuredLanguage = ConfiguredLanguageDefault;
  std::wstring versionText;
  ProxySettings proxySettings;
  std::wstring statusText;
  std::wstring installFolder;
  bool cabHookMode = false;
  bool autoStart = false;
  std::wstring messageText;
  // The main window, or null. Read by the worker's status hand-over; written and
  // cleared by the main thread, both under windowLock, so that no status ever
  // reaches a window that is being deleted.
  CDownloadWnd* window = nullptr;
  std::mutex windowLock;
  // Guards proxySettings and statusText between the window and the worker.
  std::mutex stateLock;
  std::atomic<int32_t> bytesDownloaded{0};
  std::atomic<int32_t> resultCode{ResultRunning};
  bool isWow64 = false;
  bool noisy = false;
  bool hasAdminRights = false;
  bool copyMode = false;

  // The Internet client library, loaded by the download and kept until teardown.
  HMODULE wininet = nullptr;
  decltype(&::InternetOpenW) InternetOpenW = nullptr;
  decltype(&::InternetOpenUrlW) InternetOpenUrlW = nullptr;
  decltype(&::InternetReadFile) InternetReadFile = nullptr;
  decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;
  decltype(&::InternetSetOptionW) InternetSetOptionW = nullptr;
  decltype(&::InternetConnectW) InternetConnectW = nullptr;
  decltype(&::HttpOpenRequestW) HttpOpenRequestW = nullptr;
  decltype(&::HttpSendRequestW) HttpSendRequestW = nullptr;
  decltype(&::InternetQueryDataAvailable) InternetQueryDataAvailable = nullptr;
  decltype(&::HttpQueryInfoW) HttpQueryInfoW = nullptr;
};

// The one installer state of the process.
CInstaller& TheInstaller();

// The main window's title: the running-instance key and the download's agent name.
extern wchar_t windowTitle[WindowTitleSize];
extern wchar_t windowClassName[];
