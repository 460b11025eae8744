// The control windows of the two forms of the main window.
#include <windows.h>

#include <commctrl.h>

#include "core/installer.h"
#include "core/system_utilities.h"
#include "pipeline/worker.h"
#include "ui/download_wnd.h"
#include "ui/main_layout.h"
#include "ui/string_table.h"
#include "ui/ui_instance.h"

namespace {

// Shows the elevation shield on a button (common controls 6, Vista and later).
const UINT kButtonSetShield = 0x160C;
const DWORD kLicenceTextStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_READONLY | ES_AUTOVSCROLL | ES_MULTILINE;
const int16_t kHebrew = 1037;

}  // namespace

DWORD CDownloadWnd::RightToLeftStyles() const {
  return installer.language == kHebrew ? WS_EX_LAYOUTRTL | WS_EX_RTLREADING : 0;
}

HWND CDownloadWnd::CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int id,
                                 const Box& box, void* creationData) {
  return CreateWindowExW(exStyle, className, text, style, box.left, box.top, box.width, box.height, hwnd,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), UiInstance(), creationData);
}

void CDownloadWnd::SetFont(HWND control) const {
  if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(TextFont()), TRUE);
}

void CDownloadWnd::CreateChildWindows(bool autoStart) {
  RECT client;
  GetClientRect(hwnd, &client);
  if (autoStart) {
    CreateAutoStartForm(client);
  } else {
    CreateLicenceView(client);
  }
}

void CDownloadWnd::CreateLicenceView(const RECT& client) {
  SetStatusLine(windowTitle);
  MainLayout layout = ComputeMainLayout(client, 0);
  licenceText = CreateControl(L"edit", L"", kLicenceTextStyle, 0, IdLicenceText, layout.licenceText);
  SetFont(licenceText);
  if (licenceText) SetWindowTextW(licenceText, installer.GetString(StrLicence).c_str());

  std::wstring start = installer.GetString(StrStart);
  startButton = CreateControl(L"button", start.c_str(), WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON,
                              RightToLeftStyles(), IdStartButton, layout.startButton);
  SetFont(startButton);
  if (startButton && !installer.hasAdminRights && IsVistaOrLater()) {
    SendMessageW(startButton, kButtonSetShield, 0, 1);
  }

  std::wstring accept = installer.GetString(StrAcceptTerms);
  checkBox = CreateControl(L"button", accept.c_str(), WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, RightToLeftStyles(),
                           IdAcceptBox, layout.acceptBox);
  SetFont(checkBox);
}

void CDownloadWnd::CreateAutoStartForm(const RECT& client) {
  std::wstring proxyLabel = installer.GetString(StrUseCustomProxy);
  MainLayout layout = ComputeMainLayout(client, TextWidth(TextFont(), proxyLabel));
  progressBar = CreateControl(PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, IdProgressBar, layout.progressBar);

  std::wstring start = installer.GetString(StrStart);
  startButton = CreateControl(L"button", start.c_str(), WS_CHILD | WS_DISABLED | BS_PUSHBUTTON, RightToLeftStyles(),
                              IdRetryButton, layout.startButton);
  SetFont(startButton);

  checkBox = CreateControl(L"button", proxyLabel.c_str(), WS_CHILD | BS_AUTOCHECKBOX, RightToLeftStyles(), IdProxyBox,
                           layout.proxyBox);
  SetFont(checkBox);
  bool manualProxy;
  {
    std::lock_guard<std::mutex> lock(installer.stateLock);
    manualProxy = installer.proxySettings.enabled;
  }
  if (checkBox) SendMessageW(checkBox, BM_SETCHECK, manualProxy ? BST_CHECKED : BST_UNCHECKED, 0);

  std::wstring configure = installer.GetString(StrConfigure);
  link.rightToLeft = installer.language == kHebrew;
  HWND linkWindow = CreateControl(LinkClassName, configure.c_str(), WS_CHILD, 0, IdConfigureLink, layout.link, &link);
  if (linkWindow) {
    link.hwnd = linkWindow;
    link.Attach();
    SetFont(linkWindow);
  }
  SetTimer(hwnd, PollTimerId, PollPeriodMs, nullptr);
}

void CDownloadWnd::ShowRetryOptions() {
  EnableWindow(startButton, TRUE);
  ShowWindow(startButton, SW_SHOW);
  ShowWindow(checkBox, SW_SHOW);
  ShowWindow(link.hwnd, SW_SHOW);
}

void CDownloadWnd::ShowElevationRequest() {
  elevationNeeded = true;
  SetStatus(installer, installer.GetString(StrStarting));
  note = installer.GetString(StrElevationNote);
  Redraw();
  RECT client;
  GetClientRect(hwnd, &client);
  MainLayout layout = ComputeMainLayout(client, 0);
  std::wstring start = installer.GetString(StrStart);
  startButton = CreateControl(L"button", start.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, IdStartButton,
                              layout.startButton);
  SetFont(startButton);
  if (startButton && IsVistaOrLater()) SendMessageW(startButton, kButtonSetShield, 0, 1);
  KillTimer(hwnd, PollTimerId);
}
