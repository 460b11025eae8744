// The HTTP download of the product's cabinet and its extraction.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

class CInstaller;

inline constexpr DWORD ReadBufferSize = 163840;
inline constexpr int MinimumCabinetSize = 10240;

// Fetches the cabinet into the install folder and extracts it there. Returns 0 on
// success, or 3 (extraction), 4 (no Internet library), 5 (no connection) or
// 6 (transfer failed, including any HTTP status other than 200), with the reason
// in messageText.
int DownloadAndExtract(CInstaller& installer);

// Loads wininet.dll and its entry points into the installer state.
bool LoadInternetLibrary(CInstaller& installer);

// "http://<host>[:<port>]/special/qvd/Veridane.cab"; the port only when it is not 80.
std::wstring CabinetUrl();

// Copies the data of an open request into a new file, adding to bytesDownloaded.
// Fails when fewer than MinimumCabinetSize bytes arrive in this transfer.
bool SaveUrlToFile(CInstaller& installer, HINTERNET data, const std::wstring& path);

// Owns one Internet handle, closed through the installer's loaded library.
class InternetHandle {
 public:
  explicit InternetHandle(CInstaller& installer, HINTERNET handle = nullptr) : installer_(installer), handle_(handle) {}
  ~InternetHandle() { Reset(); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(HINTERNET handle = nullptr);

 private:
  CInstaller& installer_;
  HINTERNET handle_;
};
