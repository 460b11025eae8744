#include "proxy/proxy_list.h"

#include "core/system_utilities.h"
#include "core/text_utilities.h"
#include "proxy/pac_helpers.h"

CProxyList::CProxyList(CInstaller&) {
  jsproxy.Reset(LoadSystemLibrary(L"jsproxy.dll"));
  LoadInternetLibrary();
  LoadUrlMonikerLibrary();
  LoadWinsockLibrary();
}

CProxyList::~CProxyList() {
  jsproxy.Reset();
  ReleaseInternetLibrary();
  URLDownloadToFileA = nullptr;
  urlmon.Reset();
  ClearWinsockEntries();
  if (winsockStarted_) {
    auto cleanup = reinterpret_cast<decltype(&::WSACleanup)>(GetProcAddress(ws2_32.Get(), "WSACleanup"));
    if (cleanup) cleanup();
  }
  ws2_32.Reset();
}

void CProxyList::LoadInternetLibrary() {
  wininet.Reset(LoadSystemLibrary(L"wininet.dll"));
  if (!wininet) return;
  bool all = BindExport(wininet.Get(), "InternetQueryOptionA", InternetQueryOptionA) &
             BindExport(wininet.Get(), "InternetQueryOptionW", InternetQueryOptionW) &
             BindExport(wininet.Get(), "DetectAutoProxyUrl", DetectAutoProxyUrl);
  if (!all) ReleaseInternetLibrary();
}

void CProxyList::ReleaseInternetLibrary() {
  InternetQueryOptionA = nullptr;
  InternetQueryOptionW = nullptr;
  DetectAutoProxyUrl = nullptr;
  wininet.Reset();
}

void CProxyList::LoadUrlMonikerLibrary() {
  urlmon.Reset(LoadSystemLibrary(L"urlmon.dll"));
  if (urlmon && !BindExport(urlmon.Get(), "URLDownloadToFileA", URLDownloadToFileA)) urlmon.Reset();
}

void CProxyList::LoadWinsockLibrary() {
  ws2_32.Reset(LoadSystemLibrary(L"ws2_32.dll"));
  BindWinsockEntries(ws2_32.Get());
  if (!ws2_32) return;
  // The script helpers look names up while the library evaluates a script; the
  // lookups need Winsock started in this process, whoever else started it.
  auto startup = reinterpret_cast<decltype(&::WSAStartup)>(GetProcAddress(ws2_32.Get(), "WSAStartup"));
  WSADATA data;
  winsockStarted_ = startup && startup(MAKEWORD(2, 2), &data) == 0;
}

void CProxyList::Collect() {
  AddFirefoxProxies();
  AddOperaProxies();
  AddSystemProxies();
  SortAndRemoveDuplicates();
}

void CProxyList::AddScriptEntries(const std::wstring& scriptAddress, int32_t& counter, const wchar_t* source) {
  for (const std::wstring& piece : SplitList(GetAutoProxyResult(scriptAddress))) {
    Add(ProxyCandidate(counter++, source, piece));
  }
}
