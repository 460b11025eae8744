#include "pipeline/download.h"

#include <memory>

#include "core/constants.h"
#include "core/handles.h"
#include "core/installer.h"
#include "core/log.h"
#include "core/settings_store.h"
#include "core/system_utilities.h"
#include "pipeline/cab_extractor.h"
#include "pipeline/file_install.h"
#include "pipeline/worker.h"
#include "proxy/proxy_list.h"
#include "ui/string_table.h"

namespace {

const int64_t kHttpOk = 200;

// A numeric header of an answer (the status, the declared length), or -1 when the
// answer does not carry it.
int64_t NumericHeader(CInstaller& installer, HINTERNET data, DWORD query) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (!installer.HttpQueryInfoW(data, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) return -1;
  return value;
}

struct Connection {
  explicit Connection(CInstaller& installer) : session(installer), connect(installer), data(installer) {}
  InternetHandle session;
  InternetHandle connect;
  InternetHandle data;
};

// Manual tier: the user's proxy, its credentials, and no fallback.
void OpenThroughManualProxy(CInstaller& installer, Connection& connection) {
  ProxySettings settings;
  {
    std::lock_guard<std::mutex> lock(installer.stateLock);
    settings = installer.proxySettings;
  }
  std::wstring proxy = settings.ProxyString();
  connection.session.Reset(installer.InternetOpenW(windowTitle, INTERNET_OPEN_TYPE_PROXY, proxy.c_str(), nullptr, 0));
  if (!connection.session) return;
  connection.connect.Reset(installer.InternetConnectW(connection.session.Get(), DownloadServerHost, DownloadServerPort,
                                                      L"", L"", INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection.connect) return;
  installer.InternetSetOptionW(connection.connect.Get(), INTERNET_OPTION_PROXY_USERNAME,
                               const_cast<wchar_t*>(settings.user.c_str()), static_cast<DWORD>(settings.user.size()));
  installer.InternetSetOptionW(connection.connect.Get(), INTERNET_OPTION_PROXY_PASSWORD,
                               const_cast<wchar_t*>(settings.password.c_str()),
                               static_cast<DWORD>(settings.password.size()));
  HINTERNET request =
      installer.HttpOpenRequestW(connection.connect.Get(), nullptr, CabinetUrlPath, nullptr, nullptr, nullptr, 0, 0);
  if (!request) return;
  connection.data.Reset(request);
  if (!installer.HttpSendRequestW(request, nullptr, 0, nullptr, 0)) {
    DWORD error = GetLastError();
    connection.data.Reset();
    SetLastError(error);
  }
}

// Opens the cabinet's address through a new session of the given kind.
bool OpenUrlThrough(CInstaller& installer, Connection& connection, DWORD accessType, const wchar_t* proxy) {
  connection.session.Reset(installer.InternetOpenW(windowTitle, accessType, proxy, nullptr, 0));
  if (!connection.session) return false;
  std::wstring url = CabinetUrl();
  connection.data.Reset(installer.InternetOpenUrlW(connection.session.Get(), url.c_str(), nullptr, 0, 0, 0));
  if (connection.data) return true;
  connection.session.Reset();
  return false;
}

// Preconfigured tier, then the discovered candidates in list order.
void OpenThroughSystemOrDiscovered(CInstaller& installer, Connection& connection) {
  if (OpenUrlThrough(installer, connection, INTERNET_OPEN_TYPE_PRECONFIG, nullptr)) return;
  CProxyList candidates(installer);
  candidates.Collect();
  for (const ProxyCandidate& candidate : candidates.candidates) {
    bool direct = candidate.host.empty();
    std::wstring proxy = candidate.ProxyString();
    if (OpenUrlThrough(installer, connection, direct ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                       direct ? nullptr : proxy.c_str())) {
      return;
    }
  }
}

int Extract(CInstaller& installer, const std::wstring& cabinetPath) {
  CCabExtractor extractor;
  if (extractor.Extract(cabinetPath, ResolveInstallPath(installer, L""))) return 0;
  std::wstring reason =
      extractor.unsafeName.empty() ? LastErrorText() : L"unsafe entry name \"" + ToWide(extractor.unsafeName) + L"\"";
  installer.messageText = L"Can not extract cab" + cabinetPath + L"Err:" + reason;
  return ResultExtractFailed;
}

}  // namespace

void InternetHandle::Reset(HINTERNET handle) {
  if (handle_ && installer_.InternetCloseHandle) installer_.InternetCloseHandle(handle_);
  handle_ = handle;
}

std::wstring CabinetUrl() {
  std::wstring url = std::wstring(L"http://") + DownloadServerHost;
  if (DownloadServerPort != INTERNET_DEFAULT_HTTP_PORT) url += L":" + std::to_wstring(DownloadServerPort);
  return url + CabinetUrlPath;
}

bool LoadInternetLibrary(CInstaller& installer) {
  if (!installer.wininet) installer.wininet = LoadSystemLibrary(L"wininet.dll");
  HMODULE module = installer.wininet;
  if (!module) return false;
  bool all = BindExport(module, "InternetOpenW", installer.InternetOpenW) &
             BindExport(module, "InternetOpenUrlW", installer.InternetOpenUrlW) &
             BindExport(module, "InternetSetOptionW", installer.InternetSetOptionW) &
             BindExport(module, "InternetConnectW", installer.InternetConnectW) &
             BindExport(module, "HttpOpenRequestW", installer.HttpOpenRequestW) &
             BindExport(module, "HttpSendRequestW", installer.HttpSendRequestW) &
             BindExport(module, "InternetReadFile", installer.InternetReadFile) &
             BindExport(module, "InternetCloseHandle", installer.InternetCloseHandle) &
             BindExport(module, "InternetQueryDataAvailable", installer.InternetQueryDataAvailable) &
             BindExport(module, "HttpQueryInfoW", installer.HttpQueryInfoW);
  if (all) return true;
  FreeLibrary(module);
  installer.wininet = nullptr;
  return false;
}

bool SaveUrlToFile(CInstaller& installer, HINTERNET data, const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    installer.messageText = L"Can not create file.";
    return false;
  }
  std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[ReadBufferSize]);
  bool succeeded = buffer != nullptr;
  if (!succeeded) installer.messageText = L"Can not read file from internet.";
  // The minimum size is judged on this transfer alone; bytesDownloaded keeps the
  // running total that the progress bar shows.
  int64_t transferred = 0;
  int64_t declared = NumericHeader(installer, data, HTTP_QUERY_CONTENT_LENGTH);
  while (succeeded) {
    DWORD read = 0;
    if (!installer.InternetReadFile(data, buffer.get(), ReadBufferSize, &read)) {
      installer.messageText = L"Can not read file from internet.";
      succeeded = false;
      break;
    }
    DWORD written = 0;
    if (read > 0 && (!WriteFile(file.Get(), buffer.get(), read, &written, nullptr) || written != read)) {
      installer.messageText = L"Can not write fo file.";
      succeeded = false;
      break;
    }
    installer.bytesDownloaded += static_cast<int32_t>(read);
    transferred += read;
    if (read != ReadBufferSize) break;
  }
  // A connection that breaks off ends like a clean end of data; the declared
  // length tells the two apart.
  if (succeeded && declared >= 0 && transferred < declared) {
    installer.messageText = L"Can not read file from internet.";
    succeeded = false;
  }
  if (!CloseHandle(file.Release()) && succeeded) {
    installer.messageText = L"Can not close file.";
    succeeded = false;
  }
  if (succeeded && transferred < MinimumCabinetSize) {
    installer.messageText = L"Downloaded file too small: " + std::to_wstring(transferred);
    return false;
  }
  if (succeeded) installer.bytesDownloaded = ExpectedCabinetSize;
  return succeeded;
}

int DownloadAndExtract(CInstaller& installer) {
  SetStatus(installer, installer.GetString(StrDownloadingComponents));
  if (!LoadInternetLibrary(installer)) {
    installer.messageText = L"Can not open wininet.dll";
    return ResultNoInternetLibrary;
  }

  Connection connection(installer);
  bool manual;
  {
    std::lock_guard<std::mutex> lock(installer.stateLock);
    manual = installer.proxySettings.enabled;
  }
  if (manual) {
    OpenThroughManualProxy(installer, connection);
  } else {
    OpenThroughSystemOrDiscovered(installer, connection);
  }

  if (!connection.session) {
    installer.messageText = L"Can not open internet";
    return ResultNoConnection;
  }
  if (!connection.data) {
    DWORD error = GetLastError();
    installer.messageText = L"Can not open internet url " + ErrorText(error);
    return ResultNoConnection;
  }
  // An error page (404, 407 from a proxy that wants credentials, 5xx) is never
  // saved as the cabinet.
  int64_t status = NumericHeader(installer, connection.data.Get(), HTTP_QUERY_STATUS_CODE);
  if (status != kHttpOk) {
    installer.messageText = L"Unexpected HTTP status " + std::to_wstring(status);
    return ResultTransferFailed;
  }

  std::wstring cabinetPath = ResolveInstallPath(installer, CabinetFileName);
  if (!SaveUrlToFile(installer, connection.data.Get(), cabinetPath)) return ResultTransferFailed;

  {
    std::lock_guard<std::mutex> lock(installer.stateLock);
    SaveProxySettings(installer.proxySettings);
  }
  return Extract(installer, cabinetPath);
}
