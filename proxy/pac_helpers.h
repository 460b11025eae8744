// The helper functions that jsproxy.dll calls while it evaluates a proxy
// auto-configuration script, and the process-wide Winsock entry points they use.
// The helpers are plain functions with no object to reach, so the entry points are
// process-wide; a CProxyList fills them at construction and clears them at
// destruction. All text is narrow.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

struct WinsockEntryPoints {
  decltype(&::gethostname) gethostname = nullptr;
  decltype(&::inet_addr) inet_addr = nullptr;
  decltype(&::getnameinfo) getnameinfo = nullptr;
  decltype(&::freeaddrinfo) freeaddrinfo = nullptr;
  decltype(&::getaddrinfo) getaddrinfo = nullptr;
};

// Any of them may be null: the library or the function is missing.
extern WinsockEntryPoints winsockEntries;

// Binds the five entry points from a loaded ws2_32.dll (null clears them).
void BindWinsockEntries(HMODULE ws2_32);
void ClearWinsockEntries();

// Writes the numeric address of the host into the buffer. Returns 0; 122
// (ERROR_INSUFFICIENT_BUFFER) with the needed size when a numeric host does not fit;
// 8 when the lookup ran out of memory; 12007 (name not resolved) otherwise, also for
// a name with IPv6 addresses only and when Winsock is missing.
DWORD WINAPI ResolveHostName(LPSTR host, LPSTR address, LPDWORD size);
// True when ResolveHostName finds an address for the host.
BOOL WINAPI IsResolvable(LPSTR host);
// The numeric address of this machine's name; 12004 when the name is not available.
DWORD WINAPI GetIPAddress(LPSTR address, LPDWORD size);
// True when (address AND mask) == network, all three dotted IPv4 texts. The network
// is not masked; an address or network that does not convert gives false.
BOOL WINAPI IsInNet(LPSTR address, LPSTR network, LPSTR mask);

// The table handed to the auto-proxy library: the four helpers, then five empty
// slots for the extended helpers.
struct AutoProxyHelperTable {
  BOOL(WINAPI* isResolvable)(LPSTR);
  DWORD(WINAPI* getIPAddress)(LPSTR, LPDWORD);
  DWORD(WINAPI* resolveHostName)(LPSTR, LPSTR, LPDWORD);
  BOOL(WINAPI* isInNet)(LPSTR, LPSTR, LPSTR);
  void* isResolvableEx;
  void* getIPAddressEx;
  void* resolveHostNameEx;
  void* isInNetEx;
  void* sortIpList;
};
struct AutoProxyHelpers {
  const AutoProxyHelperTable* table;
};
const AutoProxyHelpers& TheAutoProxyHelpers();
