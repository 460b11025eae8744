#include "core/text_utilities.h"

#include <climits>
#include <cwchar>

namespace {

bool IsTrimmed(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

template <typename Char>
bool IsSpace(Char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <typename Text>
int ParseLeadingInteger(const Text& text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

std::wstring Trim(const std::wstring& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsTrimmed(text[first])) ++first;
  while (last > first && IsTrimmed(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::vector<std::wstring> SplitList(const std::wstring& text) {
  std::vector<std::wstring> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L';', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring item = Trim(text.substr(start, end - start));
    if (!item.empty()) items.push_back(std::move(item));
    start = end + 1;
  }
  return items;
}

std::wstring IntToText(int value) { return std::to_wstring(value); }

std::wstring FileNamePart(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring AddTrailingBackslash(const std::wstring& path) {
  if (path.empty() || path.back() == L'\\') return path;
  return path + L'\\';
}

std::wstring RemoveTrailingBackslash(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return path.substr(0, path.size() - 1);
  return path;
}

std::wstring CopyTruncated(const std::wstring& text, size_t n) {
  if (n == 0) return std::wstring();
  return text.size() < n ? text : text.substr(0, n - 1);
}

int LeadingInteger(const std::wstring& text) { return ParseLeadingInteger(text); }
int LeadingInteger(const std::string& text) { return ParseLeadingInteger(text); }

std::wstring AsciiToWide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
