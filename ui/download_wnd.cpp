#include "ui/download_wnd.h"

#include "core/installer.h"
#include "core/system_utilities.h"
#include "pipeline/worker.h"
#include "resources/resource_ids.h"
#include "ui/main_layout.h"
#include "ui/paint_probe.h"
#include "ui/string_table.h"
#include "ui/ui_instance.h"

namespace {

const COLORREF kTextColour = RGB(100, 105, 100);
// Spelt as the window has always asked for it; the font mapper picks the nearest face.
const wchar_t kVistaFace[] = L"SeegoeUI";
const wchar_t kClassicFace[] = L"MS Shell Dlg";

HFONT CreateWindowFont(int height) {
  LOGFONTW record = {};
  record.lfHeight = height;
  record.lfWeight = FW_NORMAL;
  record.lfCharSet = DEFAULT_CHARSET;
  wcscpy(record.lfFaceName, IsVistaOrLater() ? kVistaFace : kClassicFace);
  return CreateFontIndirectW(&record);
}

// Keeps a context's font, background mode and text colour, and puts them back.
class TextStateGuard {
 public:
  explicit TextStateGuard(HDC dc)
      : dc_(dc), font_(GetCurrentObject(dc, OBJ_FONT)), mode_(GetBkMode(dc)), colour_(GetTextColor(dc)) {}
  ~TextStateGuard() {
    SetTextColor(dc_, colour_);
    SetBkMode(dc_, mode_);
    SelectObject(dc_, font_);
  }
  TextStateGuard(const TextStateGuard&) = delete;
  TextStateGuard& operator=(const TextStateGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ font_;
  int mode_;
  COLORREF colour_;
};

void DrawBackground(HDC dc, HBITMAP background) {
  if (!background) return;
  SIZE size = GetBitmapSize(background);
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (!source) return;
  SelectionGuard selected(source.Get(), background);
  // The picture is never mirrored, not even in a right-to-left window.
  BitBlt(dc, 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY | NOMIRRORBITMAP);
}

}  // namespace

CDownloadWnd::CDownloadWnd(HWND window, CInstaller& state)
    : installer(state),
      background(LoadImageW(UiInstance(), MAKEINTRESOURCEW(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, 0)),
      textFont(CreateWindowFont(-12)),
      statusFont(CreateWindowFont(-18)),
      stepImage(IDB_GLOBE),
      shieldImage(IDB_SHIELD) {
  hwnd = window;
  RegisterLinkClass();
}

CDownloadWnd::~CDownloadWnd() = default;

void CDownloadWnd::SetStatusLine(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(statusLock);
  status = text;
}

std::wstring CDownloadWnd::GetStatusLine() {
  std::lock_guard<std::mutex> lock(statusLock);
  return status;
}

void CDownloadWnd::Paint() {
  PAINTSTRUCT paint;
  RECT client;
  HDC dc = BeginOffscreenPaint(paint, client);
  DrawBackground(dc, static_cast<HBITMAP>(background.Get()));
  const CTransparentBitmap& image = elevationNeeded ? shieldImage : stepImage;
  image.Draw(dc, StepImageLeft(image.Width()));
  {
    TextStateGuard kept(dc);
    SelectObject(dc, StatusFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColour);
    std::wstring line = GetStatusLine();
    if (line.empty()) line = GetStatusText(installer);
    RecordTextForTests(hwnd, ProbeStatusLine, line);
    RecordTextForTests(hwnd, ProbeNote, note);
    RECT statusRect = StatusLineRect(client);
    DrawTextW(dc, line.c_str(), -1, &statusRect, DT_SINGLELINE);
    SelectObject(dc, TextFont());
    std::wstring steps = installer.GetString(StrThreeSteps);
    RECT stepsRect = StepsTextRect(client);
    DrawTextW(dc, steps.c_str(), -1, &stepsRect, DT_WORDBREAK);
    if (!note.empty()) {
      RECT noteRect = NoteRect(client);
      DrawTextW(dc, note.c_str(), -1, &noteRect, DT_WORDBREAK);
    }
  }
  EndOffscreenPaint(paint);
}

HBRUSH CDownloadWnd::ControlBrush(HWND control) const {
  if (control == licenceText) return nullptr;
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

int CDownloadWnd::TextWidth(HFONT font, const std::wstring& text) const {
  WindowDc dc(hwnd);
  if (!dc.Get()) return 0;
  SelectionGuard selected(dc.Get(), font);
  SIZE size = {};
  if (!GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}
