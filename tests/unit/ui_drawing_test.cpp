#include <gtest/gtest.h>

#include <vector>

#include "core/handles.h"
#include "ui/transparent_bitmap.h"
#include "ui/window_base.h"

namespace {

const COLORREF kKey = RGB(0, 255, 0);
const COLORREF kRed = RGB(200, 0, 0);

// A 34x34 image compatible with the screen: key green at (0, 0) and in a block in
// the middle, a pure black pixel, the rest blue.
HBITMAP MakeImage() {
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  WindowDc screen(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), 34, 34);
  SelectionGuard selected(dc.Get(), bitmap);
  for (int y = 0; y < 34; ++y) {
    for (int x = 0; x < 34; ++x) SetPixel(dc.Get(), x, y, RGB(20, 60, 220));
  }
  SetPixel(dc.Get(), 0, 0, kKey);
  for (int y = 15; y < 19; ++y) {
    for (int x = 15; x < 19; ++x) SetPixel(dc.Get(), x, y, kKey);
  }
  SetPixel(dc.Get(), 5, 30, RGB(0, 0, 0));
  SetPixel(dc.Get(), 6, 30, RGB(0, 254, 0));  // near the key, but not the key
  return bitmap;
}

TEST(TransparentBitmap, KeyColouredPixelsLeaveTheBackgroundVisible) {
  CTransparentBitmap image(MakeImage());
  ASSERT_EQ(34, image.Width());
  ASSERT_EQ(34, image.Height());
  WindowDc screen(nullptr);
  UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
  UniqueGdiObject target(CreateCompatibleBitmap(screen.Get(), 100, 120));
  SelectionGuard selected(dc.Get(), target.Get());
  RECT all = {0, 0, 100, 120};
  UniqueGdiObject red(CreateSolidBrush(kRed));
  FillRect(dc.Get(), &all, static_cast<HBRUSH>(red.Get()));
  SetTextColor(dc.Get(), RGB(1, 2, 3));

  image.Draw(dc.Get(), 10);

  const int x = 10, y = CTransparentBitmap::Top;
  struct Probe {
    int dx, dy;
    COLORREF expected;
  };
  const Probe probes[] = {
      {0, 0, kRed},              // the key pixel at the corner
      {16, 16, kRed},            // key pixels in the middle
      {1, 1, RGB(20, 60, 220)},  // image pixels
      {5, 30, RGB(0, 0, 0)},     // black stays black
      {6, 30, RGB(0, 254, 0)},   // nearly the key stays
      {-1, 5, kRed},             // outside the image, untouched
      {34, 5, kRed},
  };
  for (const Probe& p : probes) EXPECT_EQ(p.expected, GetPixel(dc.Get(), x + p.dx, y + p.dy)) << p.dx << "," << p.dy;
  EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc.Get())) << "text colour put back";
}

class Surface : public psu::CWnd {
 public:
  int Width() const { return offscreenWidth; }
};

TEST(Offscreen, SameSizeReusesTheBitmapAndANewSizeReplacesIt) {
  WindowDc screen(nullptr);
  ASSERT_NE(nullptr, screen.Get());
  Surface surface;
  HDC first = surface.BeginOffscreen(screen.Get(), 40, 20);
  ASSERT_NE(nullptr, first);
  SetPixel(first, 3, 3, kRed);
  HBITMAP firstBitmap = static_cast<HBITMAP>(GetCurrentObject(first, OBJ_BITMAP));

  HDC again = surface.BeginOffscreen(screen.Get(), 40, 20);
  EXPECT_EQ(first, again);
  EXPECT_EQ(firstBitmap, GetCurrentObject(again, OBJ_BITMAP));
  EXPECT_EQ(kRed, GetPixel(again, 3, 3)) << "the previous content stays";

  HDC resized = surface.BeginOffscreen(screen.Get(), 60, 20);
  ASSERT_NE(nullptr, resized);
  EXPECT_EQ(60, surface.Width());
  BITMAP header = {};
  GetObjectW(GetCurrentObject(resized, OBJ_BITMAP), sizeof(header), &header);
  EXPECT_EQ(60, header.bmWidth);
  EXPECT_EQ(20, header.bmHeight);
}

TEST(DescribeFont, RecordsTheFontsMeasuredFace) {
  LOGFONTW wanted = {};
  wanted.lfHeight = -12;
  wanted.lfWeight = FW_BOLD;
  wanted.lfItalic = 1;
  wcscpy(wanted.lfFaceName, L"Tahoma");
  UniqueGdiObject font(CreateFontIndirectW(&wanted));
  Surface window;  // no window: the screen's context measures
  LOGFONTW record = window.DescribeFont(static_cast<HFONT>(font.Get()));
  EXPECT_GT(record.lfHeight, 0) << "cell height, positive";
  EXPECT_GE(record.lfWeight, FW_BOLD);
  EXPECT_NE(0, record.lfItalic);
  EXPECT_EQ(0, record.lfUnderline);
  EXPECT_EQ(DEFAULT_CHARSET, record.lfCharSet);
  EXPECT_EQ(0, record.lfEscapement);
  EXPECT_NE(L'\0', record.lfFaceName[0]);
  // The record makes an equivalent font.
  UniqueGdiObject copy(CreateFontIndirectW(&record));
  EXPECT_TRUE(copy.IsValid());
}

}  // namespace
