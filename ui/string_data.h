// The constant translation data, generated at build time from resources/.
#pragma once

#include <cstdint>

inline constexpr int kStringCount = 26;
inline constexpr int kLanguageCount = 31;
inline constexpr int16_t kEnglish = 1033;

struct LanguageRow {
  int16_t identifier;
  const wchar_t* const* strings;  // kStringCount texts
  const wchar_t* licence;         // null: the language shows the English licence
};

extern const LanguageRow kLanguageRows[kLanguageCount];
