// The proxy candidates of one download attempt, gathered from every source,
// sorted and without duplicates.
#pragma once

#include <vector>

#include "proxy/proxy_candidate.h"

class CInstaller;

class CProxyList {
 public:
  explicit CProxyList(CInstaller& installer);
  ~CProxyList();
  CProxyList(const CProxyList&) = delete;
  CProxyList& operator=(const CProxyList&) = delete;

  // Runs the readers in their order and sorts the result.
  void Collect();
  void Add(const ProxyCandidate& candidate) { candidates.push_back(candidate); }
  void SortAndRemoveDuplicates() { ::SortAndRemoveDuplicates(candidates); }

  std::vector<ProxyCandidate> candidates;

 private:
  CInstaller& installer_;
};
