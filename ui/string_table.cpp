#include "ui/string_table.h"

#include "core/installer.h"
#include "ui/string_data.h"

namespace {

const LanguageRow* FindRow(int identifier) {
  for (const LanguageRow& row : kLanguageRows) {
    if (row.identifier == identifier) return &row;
  }
  return nullptr;
}

}  // namespace

const wchar_t* LicenceText(int identifier) {
  const LanguageRow* row = FindRow(identifier);
  if (row && row->licence) return row->licence;
  return FindRow(kEnglish)->licence;
}

void CInstaller::BuildLanguageTables() {
  if (!languageTables.empty()) return;
  for (const LanguageRow& row : kLanguageRows) languageTables[row.identifier] = row.strings;
}

bool CInstaller::LoadLanguage(int16_t identifier) {
  BuildLanguageTables();
  const wchar_t* const* row = languageTables[identifier];
  const wchar_t* const* english = languageTables[kEnglish];
  if (!row) return false;
  strings.clear();
  for (int i = 0; i < kStringCount; ++i) {
    const wchar_t* text = row[i];
    if ((!text || !*text) && english) text = english[i];
    strings.emplace_back(text ? text : L"");
  }
  loadedLanguage = language;
  return true;
}

std::wstring CInstaller::GetString(int id) {
  if (language == 0) return LocalisationError;
  if (language != loadedLanguage && !LoadLanguage(language)) {
    language = kEnglish;
    LoadLanguage(kEnglish);
  }
  if (id == StrLicence) return LicenceText(language);
  if (id >= 0 && !strings.empty() && static_cast<size_t>(id) < strings.size()) return strings[id];
  return strings.empty() ? std::wstring() : strings[0];
}
