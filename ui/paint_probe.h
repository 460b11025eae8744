// Counters that let the GUI tests see how a window paints (test build only): each
// counter is a window property that a test tool reads from outside the process.
// The release build has no probe.
#pragma once

#include <windows.h>

inline constexpr wchar_t ProbePaints[] = L"Veridane.Paints";
inline constexpr wchar_t ProbePresents[] = L"Veridane.Presents";
inline constexpr wchar_t ProbeOffscreenBitmaps[] = L"Veridane.OffscreenBitmaps";
inline constexpr wchar_t ProbeCommands[] = L"Veridane.Commands";

#if defined(VERIDANE_TEST_SEAMS)
void CountForTests(HWND window, const wchar_t* counter);
#else
inline void CountForTests(HWND, const wchar_t*) {}
#endif
