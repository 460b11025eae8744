// The worker thread that runs one installation, and the status hand-over to the
// main window.
#pragma once

#include <string>

class CInstaller;

// The cabinet size the progress bar is calibrated to.
inline constexpr int ExpectedCabinetSize = 4076860;

// Starts WorkerMain on a new thread. True when the thread was created.
bool StartWorker(CInstaller& installer);

// Waits until every worker thread started by StartWorker has ended, handling sent
// messages meanwhile so that a worker blocked in a status hand-over can finish.
void WaitForWorkers();

// The thread body: folder, download and extraction, then with administrator rights
// registration, uninstall entry and host; one result code and one log block.
void WorkerMain(CInstaller* installer);

// Sets the status line and hands it to the main window, which repaints before this
// returns. Without a window only the state's status text changes.
void SetStatus(CInstaller& installer, const std::wstring& text);
std::wstring GetStatusText(CInstaller& installer);
std::wstring GetMessageText(CInstaller& installer);

// bytesDownloaded as a percentage of ExpectedCabinetSize: 0 to 100, truncated.
int ProgressPercent(const CInstaller& installer);
int ProgressPercentOf(int bytes);
