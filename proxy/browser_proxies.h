// Readers of the browsers' proxy settings: every Firefox (or older Mozilla)
// profile's prefs.js, and Opera's opera6.ini (CProxyList::AddFirefoxProxies and
// CProxyList::AddOperaProxies).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CProxyList;

// root + name + "\prefs.js" for every folder directly in each root, roots in order,
// folders in the order the system lists them. Whether prefs.js exists is not tested.
std::vector<std::wstring> FindFirefoxPrefsFiles(const std::vector<std::wstring>& roots);

// Adds the proxies of one prefs.js, numbered from the counter on: type 1 gives the
// manual proxy (host and port both set), type 2 the answers of its script, type 4
// the answers of automatic detection. A file that does not open adds nothing.
void ReadFirefoxPrefs(const std::wstring& path, int32_t& counter, CProxyList& list);
