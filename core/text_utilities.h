// Small pure functions on wide texts and paths. No system calls.
#pragma once

#include <string>
#include <vector>

// Removes leading and trailing spaces, tabs, CRs and LFs.
std::wstring Trim(const std::wstring& text);

// Cuts at every ';', trims each piece and drops the empty ones, keeping the order.
std::vector<std::wstring> SplitList(const std::wstring& text);

// Signed decimal, as "%d" writes it.
std::wstring IntToText(int value);

// The part after the last backslash; the whole text when it has none.
std::wstring FileNamePart(const std::wstring& path);

// Appends one backslash unless the text is empty or already ends with one.
std::wstring AddTrailingBackslash(const std::wstring& path);

// Removes one trailing backslash, if there is one.
std::wstring RemoveTrailingBackslash(const std::wstring& path);

// The text as a buffer of n characters would hold it: the whole text when it is
// shorter than n, otherwise its first n - 1 characters. n must be at least 1.
std::wstring CopyTruncated(const std::wstring& text, size_t n);

// The runtime's wide text-to-integer conversion: leading white space, an optional
// sign, digits up to the first non-digit; 0 when there are none. Saturates instead
// of overflowing.
int LeadingInteger(const std::wstring& text);
int LeadingInteger(const std::string& text);

// Wide copy of a text that holds only 7-bit characters (constants, numbers).
std::wstring AsciiToWide(const std::string& text);
