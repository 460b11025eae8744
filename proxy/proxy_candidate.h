// One proxy to try, and the pure rules around candidates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ProxyCandidate {
  std::wstring host;  // empty: connect directly
  int32_t port = 0;   // 0: no port
  int32_t priority = 0;
  std::wstring user;
  std::wstring password;
  std::wstring source;  // "Mozilla", "Opera" or "IE"

  ProxyCandidate() = default;
  // From parts.
  ProxyCandidate(int32_t priority, const std::wstring& source, const std::wstring& host, int32_t port);
  // From an entry text such as "PROXY proxy1:312" or "DIRECT".
  ProxyCandidate(int32_t priority, const std::wstring& source, const std::wstring& entry);

  // "host:port", or the host alone when the port is 0; empty for a direct entry.
  std::wstring ProxyString() const;
};

struct ProxyEntry {
  std::wstring host;
  int32_t port = 0;
};

// "DIRECT" gives an empty host; an optional "PROXY " prefix is skipped; the last
// colon separates the port (its leading digits, 0 when none).
ProxyEntry ParseProxyEntry(const std::wstring& entry);

// Stable sort by ascending priority, then removal of every later entry equal in
// host (case-sensitive), port, user and password to an earlier one.
void SortAndRemoveDuplicates(std::vector<ProxyCandidate>& candidates);
