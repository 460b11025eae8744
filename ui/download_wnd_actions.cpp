// What the main window does: its commands and the poll of the worker.
#include <windows.h>

#include <commctrl.h>

#include "core/installer.h"
#include "core/privileges.h"
#include "pipeline/worker.h"
#include "ui/download_wnd.h"
#include "ui/paint_probe.h"
#include "ui/proxy_dialog.h"
#include "ui/string_table.h"
#include "ui/tick_decision.h"

namespace {
// The proxy dialog opens this far right of the link's left edge.
const int kDialogOffset = 30;
}  // namespace

bool CDownloadWnd::Command(int id) {
  switch (id) {
    case IdStartButton:
      // On success the window closes and this object is gone: touch nothing after.
      if (StartInstallProcess(installer)) SendMessageW(hwnd, WM_CLOSE, 0, 0);
      return true;
    case IdAcceptBox:
      EnableWindow(startButton, SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED);
      return true;
    case IdRetryButton:
      StartRetry();
      return true;
    case IdConfigureLink:
      CountForTests(hwnd, ProbeCommands);
      OpenProxySettings();
      return true;
    default:
      return false;
  }
}

void CDownloadWnd::StartRetry() {
  {
    std::lock_guard<std::mutex> lock(installer.stateLock);
    installer.proxySettings.enabled = SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  installer.resultCode = ResultRunning;
  EnableWindow(startButton, FALSE);
  StartWorker(installer);
}

void CDownloadWnd::OpenProxySettings() {
  RECT linkRect;
  GetWindowRect(link.hwnd, &linkRect);
  POINT corner = {linkRect.left + kDialogOffset, linkRect.bottom};
  // Modal: the poll keeps running and may close this window meanwhile, so nothing
  // here touches the object once the dialog has returned.
  OpenProxyDialog(hwnd, installer, corner);
}

bool CDownloadWnd::Tick() {
  int percent = ProgressPercent(installer);
  if (SendMessageW(progressBar, PBM_GETPOS, 0, 0) != percent) SendMessageW(progressBar, PBM_SETPOS, percent, 0);
  int code = installer.resultCode;
  switch (DecideTick(code)) {
    case TickAction::Wait:
      break;
    case TickAction::Close:
      SendMessageW(hwnd, WM_CLOSE, 0, 0);
      return false;
    case TickAction::ElevationNeeded:
      ShowElevationRequest();
      break;
    case TickAction::OfferRetry:
      OfferRetry();
      break;
    case TickAction::ShowError:
      ShowError(code);
      break;
  }
  return true;
}

void CDownloadWnd::OfferRetry() {
  SetStatusLine(installer.GetString(StrCanNotGetUpdate));
  ShowRetryOptions();
  Redraw();
}

void CDownloadWnd::ShowError(int code) {
  SetStatusLine(UnexpectedErrorText(installer.GetString(StrUnexpectedError), code));
  Redraw();
}
