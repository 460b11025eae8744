// The proxy candidates of one download attempt, gathered from the browser profiles
// and the system settings, sorted and without duplicates. The list owns the
// libraries its readers need; they live exactly as long as the list.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/handles.h"
#include "proxy/proxy_candidate.h"

class CInstaller;

class CProxyList {
 public:
  // Loads, in this order, jsproxy.dll, wininet.dll, urlmon.dll and ws2_32.dll; the
  // last one fills the process-wide Winsock entry points.
  explicit CProxyList(CInstaller& installer);
  // Frees the libraries in the same order and clears the Winsock entry points.
  ~CProxyList();
  CProxyList(const CProxyList&) = delete;
  CProxyList& operator=(const CProxyList&) = delete;

  // Runs the Firefox, Opera and system readers, then sorts and removes duplicates.
  void Collect();
  void Add(const ProxyCandidate& candidate) { candidates.push_back(candidate); }
  void SortAndRemoveDuplicates() { ::SortAndRemoveDuplicates(candidates); }

  // Readers (browser_proxies.cpp, system_proxies.cpp).
  void AddFirefoxProxies();
  void AddOperaProxies();
  void AddSystemProxies();

  // The answer of the auto-configuration script at the address (empty: automatic
  // detection) for the update server, such as "PROXY p:81; DIRECT". Empty when
  // nothing could be evaluated. Successful answers are cached (auto_proxy.cpp).
  std::wstring GetAutoProxyResult(const std::wstring& scriptAddress);
  // Adds one entry-text candidate per piece of the script's answer, numbered from
  // the counter on, which moves on by one for each entry added.
  void AddScriptEntries(const std::wstring& scriptAddress, int32_t& counter, const wchar_t* source);

  // The folder in which the browsers keep their per-user data, computed once and
  // then cached; may be empty (app_data_folder.cpp).
  std::wstring GetAppDataFolder();

  std::vector<ProxyCandidate> candidates;

  // wininet.dll, kept only when all three functions are found.
  UniqueLibrary wininet;
  decltype(&::InternetQueryOptionA) InternetQueryOptionA = nullptr;
  decltype(&::InternetQueryOptionW) InternetQueryOptionW = nullptr;
  decltype(&::DetectAutoProxyUrl) DetectAutoProxyUrl = nullptr;

  // urlmon.dll, kept only when URLDownloadToFileA is found.
  using UrlDownloadToFileAFn = HRESULT(WINAPI*)(void* caller, LPCSTR url, LPCSTR file, DWORD reserved, void* callback);
  UniqueLibrary urlmon;
  UrlDownloadToFileAFn URLDownloadToFileA = nullptr;

  // ws2_32.dll; its entry points are process-wide (pac_helpers.h).
  UniqueLibrary ws2_32;

  // Script address exactly as asked for (empty: automatic detection) -> answer.
  std::map<std::wstring, std::wstring> scriptResults;
  // Empty until first computed.
  std::wstring appDataFolder;

  UniqueLibrary jsproxy;

 private:
  void LoadInternetLibrary();
  void LoadUrlMonikerLibrary();
  void LoadWinsockLibrary();
  void ReleaseInternetLibrary();

  bool winsockStarted_ = false;
};
