// Identifiers of the localised strings. -1 asks for the licence agreement.
#pragma once

enum StringId : int {
  StrMissingTranslation = 0,
  StrSlogan = 1,
  StrBetaVersion = 2,
  StrDownloadingTitle = 3,
  StrThreeSteps = 4,
  StrDownloadingComponents = 5,
  StrRegisteringComponents = 6,
  StrStarting = 7,
  StrElevationNote = 8,
  StrStart = 9,
  StrTermsOfUse = 10,
  StrAcceptTerms = 11,
  StrAdminRequired = 12,
  StrUnexpectedError = 13,
  StrUseCustomProxy = 14,
  StrConfigure = 15,
  StrProxyDialogTitle = 16,
  StrProxyAddress = 17,
  StrProxyPort = 18,
  StrProxyUser = 19,
  StrProxyPassword = 20,
  StrConfirmPassword = 21,
  StrPasswordsDiffer = 22,
  StrCanNotGetUpdate = 23,
  StrOk = 24,
  StrCancel = 25,
  StrLicence = -1,
};

inline constexpr wchar_t LocalisationError[] = L"Localisation error";

// The licence agreement text for a language identifier: its own where it has one,
// the English text for every other identifier.
const wchar_t* LicenceText(int identifier);
