#include "proxy/proxy_list.h"

#include "core/installer.h"

CProxyList::CProxyList(CInstaller& installer) : installer_(installer) {}

CProxyList::~CProxyList() = default;

void CProxyList::Collect() { SortAndRemoveDuplicates(); }
