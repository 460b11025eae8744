#include "proxy/proxy_candidate.h"

#include <algorithm>

#include "core/text_utilities.h"

namespace {

const wchar_t kDirect[] = L"DIRECT";
const wchar_t kProxyPrefix[] = L"PROXY ";
const size_t kProxyPrefixLength = 6;

int32_t LeadingDigits(const std::wstring& text) {
  int64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') break;
    value = std::min<int64_t>(value * 10 + (c - L'0'), INT32_MAX);
  }
  return static_cast<int32_t>(value);
}

bool SameProxy(const ProxyCandidate& a, const ProxyCandidate& b) {
  return a.host == b.host && a.port == b.port && a.user == b.user && a.password == b.password;
}

}  // namespace

ProxyCandidate::ProxyCandidate(int32_t priority_, const std::wstring& source_, const std::wstring& host_, int32_t port_)
    : host(host_), port(port_), priority(priority_), source(source_) {}

ProxyCandidate::ProxyCandidate(int32_t priority_, const std::wstring& source_, const std::wstring& entry)
    : priority(priority_), source(source_) {
  ProxyEntry parsed = ParseProxyEntry(entry);
  host = parsed.host;
  port = parsed.port;
}

std::wstring ProxyCandidate::ProxyString() const { return port != 0 ? host + L":" + IntToText(port) : host; }

ProxyEntry ParseProxyEntry(const std::wstring& entry) {
  ProxyEntry result;
  if (entry == kDirect) return result;
  size_t start = entry.compare(0, kProxyPrefixLength, kProxyPrefix) == 0 ? kProxyPrefixLength : 0;
  size_t colon = entry.rfind(L':');
  if (colon != std::wstring::npos && colon >= start) {
    result.port = LeadingDigits(entry.substr(colon + 1));
    result.host = entry.substr(start, colon - start);
  } else {
    result.host = entry.substr(start);
  }
  return result;
}

void SortAndRemoveDuplicates(std::vector<ProxyCandidate>& candidates) {
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const ProxyCandidate& a, const ProxyCandidate& b) { return a.priority < b.priority; });
  std::vector<ProxyCandidate> unique;
  unique.reserve(candidates.size());
  for (ProxyCandidate& candidate : candidates) {
    bool seen = std::any_of(unique.begin(), unique.end(),
                            [&](const ProxyCandidate& kept) { return SameProxy(kept, candidate); });
    if (!seen) unique.push_back(std::move(candidate));
  }
  candidates.swap(unique);
}
