#include <gtest/gtest.h>

#include "test_support.h"
#include "ui/tick_decision.h"

namespace {

TEST(TickDecision, EveryResultCode) {
  const std::pair<int, TickAction> cases[] = {
      {-1, TickAction::Wait},           {0, TickAction::Wait},       {1, TickAction::Close},
      {2, TickAction::ElevationNeeded}, {3, TickAction::ShowError},  {4, TickAction::ShowError},
      {5, TickAction::OfferRetry},      {6, TickAction::OfferRetry}, {7, TickAction::ShowError},
      {8, TickAction::ShowError},       {-2, TickAction::ShowError}, {INT32_MIN, TickAction::ShowError},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, DecideTick(c.first)) << c.first;
}

TEST(UnexpectedErrorText, PlaceholderBecomesTheCode) {
  struct Case {
    const wchar_t* format;
    int code;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"Unexpected error %d.", 8, L"Unexpected error 8."},
      {L"Nieoczekiwany błąd %d.", 3, L"Nieoczekiwany błąd 3."},
      {L"Unexpected error %d.", -7, L"Unexpected error -7."},
      {L"%d", INT32_MIN, L"-2147483648"},
      // Only the first placeholder; other percent signs are plain text, never a format.
      {L"%s %n error %d %d", 4, L"%s %n error 4 %d"},
      {L"No placeholder", 8, L"No placeholder"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::wstring(c.expected), UnexpectedErrorText(c.format, c.code)) << Utf8(c.format);
}

TEST(UnexpectedErrorText, CutTo255Characters) {
  std::wstring format = std::wstring(250, L'x') + L" %d";
  std::wstring text = UnexpectedErrorText(format, 123456);
  EXPECT_EQ(255u, text.size());
  EXPECT_EQ(std::wstring(250, L'x') + L" 1234", text);
}

}  // namespace
