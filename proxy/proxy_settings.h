// The user's manual proxy settings.
#pragma once

#include <string>

struct ProxySettings {
  std::wstring address;  // host name or address, exactly as entered
  std::wstring port;     // decimal digits as entered; may be empty
  std::wstring user;
  std::wstring password;  // plain in memory; stored scrambled
  bool enabled = false;   // when set, the download uses these settings and nothing else

  // The proxy text for the Internet client library: "address:port", or the address
  // alone when the port is empty.
  std::wstring ProxyString() const { return port.empty() ? address : address + L":" + port; }
};
