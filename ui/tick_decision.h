// What the main window's 200 ms tick does for a worker result code.
#pragma once

#include <string>

enum class TickAction {
  Wait,             // -1 or 0: the worker runs or has stored no result yet
  Close,            // 1: the hosting application started
  ElevationNeeded,  // 2: downloaded without administrator rights
  OfferRetry,       // 5, 6: the download failed
  ShowError,        // anything else
};

TickAction DecideTick(int resultCode);

// The "Unexpected error" text: format with its first "%d" replaced by code in
// signed decimal, cut to 255 characters. The format is data, never a printf format.
std::wstring UnexpectedErrorText(const std::wstring& format, int code);
