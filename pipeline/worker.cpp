#include "pipeline/worker.h"

#include <windows.h>
#include <process.h>

#include <mutex>
#include <vector>

#include "core/installer.h"
#include "core/log.h"
#include "core/privileges.h"
#include "core/test_seams.h"
#include "pipeline/download.h"
#include "pipeline/file_install.h"
#include "pipeline/host_launch.h"
#include "pipeline/registration.h"
#include "ui/main_window.h"
#include "ui/string_table.h"

namespace {

std::mutex workersLock;
std::vector<HANDLE> workers;

unsigned __stdcall WorkerThread(void* argument) {
  WorkerMain(static_cast<CInstaller*>(argument));
  return 0;
}

}  // namespace

bool StartWorker(CInstaller& installer) {
  uintptr_t thread = _beginthreadex(nullptr, 0, WorkerThread, &installer, 0, nullptr);
  if (thread == 0) return false;
  std::lock_guard<std::mutex> lock(workersLock);
  workers.push_back(reinterpret_cast<HANDLE>(thread));
  return true;
}

void WaitForWorkers() {
  std::vector<HANDLE> running;
  {
    std::lock_guard<std::mutex> lock(workersLock);
    running.swap(workers);
  }
  for (HANDLE thread : running) {
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(thread);
  }
}

void WorkerMain(CInstaller* state) {
  CInstaller& installer = *state;
  std::wstring log;
  ResolveInstallPath(installer, L"");
  log += installer.messageText;

  int code = DownloadAndExtract(installer);
  if (code != 0) {
    log += installer.messageText;
    installer.resultCode = code;
  } else if (installer.hasAdminRights && !TestSeamIs(L"WORKER_RIGHTS", L"1")) {
    // (The test seam lets a test reach the outcome of a worker without rights: the
    // entry refuses to start an installing instance that lacks them.)
    SetStatus(installer, installer.GetString(StrRegisteringComponents));
    if (!RegisterComponent(installer, L"Veridane.ocx", false)) {
      log += L".ocx registration probably failed: " + installer.messageText + L"\r\n";
    }
    WriteUninstallEntry(installer);
    LaunchHost(installer);
    if (installer.resultCode != ResultSuccess) log += installer.messageText + L"\r\n";
  } else {
    installer.resultCode = ResultNoAdminRights;
  }
  WriteLog(LogHeaderPrefix + RightsLevelName(GetRightsLevel()) + L" as downloader log:\r\n" +
           (log.empty() ? L"all ok\r\n" : log));
}

void SetStatus(CInstaller& installer, const std::wstring& text) {
  {
    std::lock_guard<std::mutex> lock(installer.stateLock);
    installer.statusText = text;
  }
  HWND target = HandOverStatus(installer, text);
  if (target) SendMessageW(target, WM_STATUS_CHANGED, 0, 0);
}

std::wstring GetStatusText(CInstaller& installer) {
  std::lock_guard<std::mutex> lock(installer.stateLock);
  return installer.statusText;
}

std::wstring GetMessageText(CInstaller& installer) { return installer.messageText; }

int ProgressPercentOf(int bytes) {
  if (bytes > ExpectedCabinetSize) return 100;
  if (bytes <= 0) return 0;
  return static_cast<int>(bytes / static_cast<double>(ExpectedCabinetSize) * 100.0);
}

int ProgressPercent(const CInstaller& installer) { return ProgressPercentOf(installer.bytesDownloaded); }
