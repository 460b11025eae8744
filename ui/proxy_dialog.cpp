#include "ui/proxy_dialog.h"

#include <string>
#include <vector>

#include "core/handles.h"
#include "core/installer.h"
#include "resources/resource_ids.h"
#include "ui/label_alignment.h"
#include "ui/string_table.h"
#include "ui/ui_instance.h"

namespace {

const int16_t kHebrew = 1037;
const int kFieldSize = 260;

struct DialogContext {
  CInstaller* installer;
  POINT corner;
};

struct ControlText {
  int id;
  int stringId;
};

const ControlText kTexts[] = {
    {IDC_PROXY_ADDRESS_LABEL, StrProxyAddress},
    {IDC_PROXY_PORT_LABEL, StrProxyPort},
    {IDC_PROXY_USER_LABEL, StrProxyUser},
    {IDC_PROXY_PASSWORD_LABEL, StrProxyPassword},
    {IDC_PROXY_CONFIRM_LABEL, StrConfirmPassword},
    {IDOK, StrOk},
    {IDCANCEL, StrCancel},
};

const int kVisibleLabels[] = {IDC_PROXY_ADDRESS_LABEL, IDC_PROXY_PORT_LABEL, IDC_PROXY_USER_LABEL,
                              IDC_PROXY_PASSWORD_LABEL};
const int kAllLabels[] = {IDC_PROXY_CONFIRM_LABEL, IDC_PROXY_ADDRESS_LABEL, IDC_PROXY_PORT_LABEL, IDC_PROXY_USER_LABEL,
                          IDC_PROXY_PASSWORD_LABEL};
const int kMovedControls[] = {IDC_PROXY_ADDRESS, IDC_PROXY_PORT, IDC_PROXY_USER, IDC_PROXY_PASSWORD,
                              IDC_PROXY_CONFIRM, IDOK,           IDCANCEL};

CInstaller& DialogInstaller(HWND dialog) {
  return *reinterpret_cast<CInstaller*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

std::wstring FieldText(HWND dialog, int id) {
  wchar_t text[kFieldSize] = L"";
  GetDlgItemTextW(dialog, id, text, kFieldSize);
  return text;
}

int MeasureText(HDC dc, HWND control) {
  std::wstring text(kFieldSize, L'\0');
  text.resize(GetWindowTextW(control, &text[0], kFieldSize));
  SIZE size = {};
  if (!GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

// A control's rectangle in the dialog's own client coordinates. Mapping both
// corners at once keeps left < right in a mirrored dialog too.
RECT ClientRectOf(HWND dialog, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Initialise(HWND dialog, const DialogContext& context) {
  CInstaller& installer = *context.installer;
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&installer));
  SetWindowPos(dialog, nullptr, context.corner.x, context.corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextW(dialog, installer.GetString(StrProxyDialogTitle).c_str());
  for (const ControlText& text : kTexts) SetDlgItemTextW(dialog, text.id, installer.GetString(text.stringId).c_str());
  ProxySettings settings;
  {
    std::lock_guard<std::mutex> lock(installer.stateLock);
    settings = installer.proxySettings;
  }
  SetDlgItemTextW(dialog, IDC_PROXY_ADDRESS, settings.address.c_str());
  SetDlgItemTextW(dialog, IDC_PROXY_PORT, settings.port.c_str());
  SetDlgItemTextW(dialog, IDC_PROXY_USER, settings.user.c_str());
  SetDlgItemTextW(dialog, IDC_PROXY_PASSWORD, settings.password.c_str());
  AlignProxyDialogFields(dialog);
  SetFocus(GetDlgItem(dialog, IDC_PROXY_ADDRESS));
}

// Replaces the four texts at once. A retried download may be reading them: it
// copies them under the same lock, so it sees either all old or all new values.
void Confirm(HWND dialog) {
  std::wstring address = FieldText(dialog, IDC_PROXY_ADDRESS);
  std::wstring port = FieldText(dialog, IDC_PROXY_PORT);
  std::wstring user = FieldText(dialog, IDC_PROXY_USER);
  std::wstring password = FieldText(dialog, IDC_PROXY_PASSWORD);
  CInstaller& installer = DialogInstaller(dialog);
  std::lock_guard<std::mutex> lock(installer.stateLock);
  installer.proxySettings.address = address;
  installer.proxySettings.port = port;
  installer.proxySettings.user = user;
  installer.proxySettings.password = password;
}

}  // namespace

INT_PTR OpenProxyDialog(HWND owner, CInstaller& installer, POINT corner) {
  // Hebrew opens the mirrored template, so labels, fields and buttons are laid out
  // from the right edge and the alignment below works in mirrored coordinates.
  int templateId = installer.language == kHebrew ? IDD_PROXY_RTL : IDD_PROXY;
  DialogContext context = {&installer, corner};
  return DialogBoxParamW(UiInstance(), MAKEINTRESOURCEW(templateId), owner, ProxyDialogProc,
                         reinterpret_cast<LPARAM>(&context));
}

INT_PTR CALLBACK ProxyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog, *reinterpret_cast<const DialogContext*>(lParam));
      return FALSE;  // the focus stays in the address field
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        Confirm(dialog);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

void AlignProxyDialogFields(HWND dialog) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  std::vector<int> textWidths;
  std::vector<int> boxWidths;
  {
    WindowDc dc(dialog);
    if (!dc.Get()) return;
    SelectionGuard selected(dc.Get(), font);
    for (int id : kVisibleLabels) {
      HWND label = GetDlgItem(dialog, id);
      if (!label) continue;
      textWidths.push_back(MeasureText(dc.Get(), label));
      RECT rect;
      GetWindowRect(label, &rect);
      boxWidths.push_back(rect.right - rect.left);
    }
  }
  LabelAlignment alignment = AlignLabels(textWidths, boxWidths);
  if (!alignment.change) return;
  for (int id : kAllLabels) {
    HWND label = GetDlgItem(dialog, id);
    if (!label) continue;
    RECT rect;
    GetWindowRect(label, &rect);
    SetWindowPos(label, nullptr, 0, 0, alignment.columnWidth, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
  }
  for (int id : kMovedControls) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) continue;
    RECT rect = ClientRectOf(dialog, control);
    SetWindowPos(control, nullptr, rect.left + alignment.delta, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  RECT outer;
  GetWindowRect(dialog, &outer);
  SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + alignment.delta, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
