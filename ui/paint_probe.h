// Counters and texts that let the GUI tests see how a window paints (test build
// only): each is a window property that a test tool reads from outside the process;
// a text is kept as a global atom (at most 255 characters).
// The release build has no probe.
#pragma once

#include <windows.h>

#include <string>

inline constexpr wchar_t ProbePaints[] = L"Veridane.Paints";
inline constexpr wchar_t ProbePresents[] = L"Veridane.Presents";
inline constexpr wchar_t ProbeOffscreenBitmaps[] = L"Veridane.OffscreenBitmaps";
inline constexpr wchar_t ProbeCommands[] = L"Veridane.Commands";
inline constexpr wchar_t ProbeStatusLine[] = L"Veridane.StatusLine";
inline constexpr wchar_t ProbeNote[] = L"Veridane.Note";

#if defined(VERIDANE_TEST_SEAMS)
void CountForTests(HWND window, const wchar_t* counter);
void RecordTextForTests(HWND window, const wchar_t* name, const std::wstring& text);
#else
inline void CountForTests(HWND, const wchar_t*) {}
inline void RecordTextForTests(HWND, const wchar_t*, const std::wstring&) {}
#endif
