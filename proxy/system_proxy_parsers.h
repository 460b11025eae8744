// Pure rules for the proxy texts of the system settings. No system calls.
#pragma once

#include <string>

#include "proxy/proxy_candidate.h"

// The HTTP proxy of an Internet settings "ProxyServer" value: the part after
// "http=" up to the next ';' (the whole value when there is no "http="), without a
// leading "http://" in any case; the host ends at the first colon and the port is
// the integer after it (0 without a colon). The host is cut to 259 characters.
ProxyEntry ParseProxyServerValue(const std::wstring& value);

// The text without a leading "http://" (compared without regard to case).
std::wstring StripHttpScheme(const std::wstring& text);

// The host of a cnetcfg.ini "Http_Proxy_Server" value: without "http://", not split
// at a colon, cut to 259 characters.
std::wstring CnetcfgProxyHost(const std::wstring& value);
