// The log file "log.txt" in the install folder: one block appended per run.
#pragma once

#include <windows.h>

#include <string>

// The log's folder, without a trailing backslash: the recorded install path, or the
// product folder when none is recorded.
std::wstring GetLogFolder();

// Appends the text, converted to the ANSI code page, to the log file as one block.
// The file is shared for reading only while it is open; when it cannot be opened
// (missing folder, no access, held by a writer) the block is dropped silently.
void WriteLog(const std::wstring& text);

// The system's text for the calling thread's last error, line end included, or
// "Error %d ($%x)" when the system has none.
std::wstring LastErrorText();
// The same for a given code.
std::wstring ErrorText(DWORD code);
// "Error <signed decimal> ($<lowercase hex>)".
std::wstring ErrorCodeFallbackText(DWORD code);
