#include "ui/tick_decision.h"

namespace {
const size_t kErrorTextLimit = 255;
}

TickAction DecideTick(int resultCode) {
  switch (resultCode) {
    case -1:
    case 0:
      return TickAction::Wait;
    case 1:
      return TickAction::Close;
    case 2:
      return TickAction::ElevationNeeded;
    case 5:
    case 6:
      return TickAction::OfferRetry;
    default:
      return TickAction::ShowError;
  }
}

std::wstring UnexpectedErrorText(const std::wstring& format, int code) {
  std::wstring text = format;
  size_t placeholder = text.find(L"%d");
  if (placeholder != std::wstring::npos) text.replace(placeholder, 2, std::to_wstring(code));
  if (text.size() > kErrorTextLimit) text.resize(kErrorTextLimit);
  return text;
}
