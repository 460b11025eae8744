// Evaluation of proxy auto-configuration scripts through jsproxy.dll. The entry
// point is CProxyList::GetAutoProxyResult; this header holds what its tests need.
#pragma once

#include <cstddef>
#include <string>

// Script addresses longer than this (narrow characters) are refused.
inline constexpr size_t MaximumScriptAddressLength = 1023;

// "http://<update server>/download/enginekvx3/", the address the scripts are asked about.
std::string AutoProxyQueryAddress();
