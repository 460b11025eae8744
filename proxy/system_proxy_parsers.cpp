#include "proxy/system_proxy_parsers.h"

#include "core/text_utilities.h"

namespace {

const size_t kHostBufferSize = 260;

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  }
  return true;
}

}  // namespace

std::wstring StripHttpScheme(const std::wstring& text) {
  const std::wstring scheme = L"http://";
  return StartsWithNoCase(text, scheme) ? text.substr(scheme.size()) : text;
}

ProxyEntry ParseProxyServerValue(const std::wstring& value) {
  const std::wstring httpKey = L"http=";
  std::wstring working = value;
  size_t at = value.find(httpKey);
  if (at != std::wstring::npos) {
    size_t start = at + httpKey.size();
    size_t end = value.find(L';', start);
    working = value.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
  }
  working = StripHttpScheme(working);
  ProxyEntry entry;
  size_t colon = working.find(L':');
  if (colon == std::wstring::npos) {
    entry.host = working;
  } else {
    entry.host = working.substr(0, colon);
    entry.port = LeadingInteger(working.substr(colon + 1));
  }
  entry.host = CopyTruncated(entry.host, kHostBufferSize);
  return entry;
}

std::wstring CnetcfgProxyHost(const std::wstring& value) {
  return CopyTruncated(StripHttpScheme(value), kHostBufferSize);
}
