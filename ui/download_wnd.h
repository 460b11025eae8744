// CDownloadWnd: the installer's one window, in the licence view or the auto-start
// form that follows the worker.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "core/handles.h"
#include "ui/link.h"
#include "ui/transparent_bitmap.h"
#include "ui/window_base.h"

class CInstaller;

// Control identifiers of the main window.
enum MainControlId : int {
  IdProgressBar = 104,
  IdStartButton = 105,
  IdLicenceText = 106,
  IdAcceptBox = 107,
  IdProxyBox = 108,
  IdRetryButton = 109,
  IdConfigureLink = 110,
};

inline constexpr UINT_PTR PollTimerId = 1;
inline constexpr UINT PollPeriodMs = 200;

class CDownloadWnd : public psu::CWnd {
 public:
  CDownloadWnd(HWND window, CInstaller& installer);
  ~CDownloadWnd() override;

  // Creates the controls of the licence view (false) or the auto-start form (true).
  void CreateChildWindows(bool autoStart);
  void Paint();
  // Handles a command; false when the identifier is not the window's own.
  bool Command(int id);
  // One poll of the worker. Returns false when the window was closed meanwhile:
  // the object is then gone and must not be touched.
  bool Tick();
  // Brush for a control's background: null means default handling.
  HBRUSH ControlBrush(HWND control) const;

  void ShowRetryOptions();
  void SetStatusLine(const std::wstring& text);
  std::wstring GetStatusLine();
  int TextWidth(HFONT font, const std::wstring& text) const;

  bool ElevationNeeded() const { return elevationNeeded; }

 private:
  HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int id,
                     const struct Box& box, void* creationData = nullptr);
  void CreateLicenceView(const RECT& client);
  void CreateAutoStartForm(const RECT& client);
  void ShowElevationRequest();
  void OfferRetry();
  void ShowError(int code);
  void StartRetry();
  void OpenProxySettings();
  void SetFont(HWND control) const;
  DWORD RightToLeftStyles() const;
  HFONT TextFont() const { return static_cast<HFONT>(textFont.Get()); }
  HFONT StatusFont() const { return static_cast<HFONT>(statusFont.Get()); }

  CInstaller& installer;
  std::wstring status;
  std::wstring note;
  HWND progressBar = nullptr;
  HWND licenceText = nullptr;
  HWND checkBox = nullptr;
  HWND startButton = nullptr;
  CLink link;
  std::mutex statusLock;
  UniqueGdiObject background;
  UniqueGdiObject textFont;
  UniqueGdiObject statusFont;
  CTransparentBitmap stepImage;
  CTransparentBitmap shieldImage;
  bool elevationNeeded = false;
};
