// Readers of the system's own proxy settings: the Internet settings in the
// registry, cnetcfg.ini found through %DaContents%, and the LAN connection's
// automatic configuration (CProxyList::AddSystemProxies).
#pragma once

#include <cstdint>
#include <string>

// The manual proxy of HKCU\...\Internet Settings. True when "ProxyEnable" is a
// non-zero DWORD and "ProxyServer" a string of at most 1025 characters (terminator
// included); an empty server gives an empty host, that is a direct entry.
bool ReadIEProxyServer(std::wstring& host, int32_t& port);

// The proxy of %DaContents%\system\net\cnetcfg\cnetcfg.ini, section "PROXY".
// False when the variable is not set, the file does not exist, or the proxy is
// enabled without a host or a port; true otherwise, with enabled 0 when
// "EnableProxy" is 0.
bool ReadCnetcfgProxy(int32_t& enabled, std::wstring& host, int32_t& port);
