#include "ui/transparent_bitmap.h"

#include "ui/ui_instance.h"

CTransparentBitmap::CTransparentBitmap(int resourceId)
    : image(LoadImageW(UiInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE)) {
  BuildMask();
}

CTransparentBitmap::CTransparentBitmap(HBITMAP bitmap) : image(bitmap) { BuildMask(); }

void CTransparentBitmap::BuildMask() {
  BITMAP header = {};
  if (!image || !GetObjectW(image.Get(), sizeof(header), &header)) return;
  mask.Reset(CreateBitmap(header.bmWidth, header.bmHeight, 1, 1, nullptr));
  width = header.bmWidth;
  height = header.bmHeight;
  UniqueMemoryDc imageDc(CreateCompatibleDC(nullptr));
  UniqueMemoryDc maskDc(CreateCompatibleDC(nullptr));
  if (!imageDc || !maskDc || !mask) return;
  SelectionGuard imageSelected(imageDc.Get(), image.Get());
  SelectionGuard maskSelected(maskDc.Get(), mask.Get());
  // Colour to monochrome: pixels of the background colour become 1, others 0.
  COLORREF key = GetPixel(imageDc.Get(), 0, 0);
  SetBkColor(imageDc.Get(), key);
  BitBlt(maskDc.Get(), 0, 0, width, height, imageDc.Get(), 0, 0, SRCCOPY);
  // Monochrome to colour: 1 becomes the background (black), 0 the text colour
  // (white); AND-ing that in turns exactly the key-coloured pixels black.
  SetTextColor(imageDc.Get(), RGB(255, 255, 255));
  SetBkColor(imageDc.Get(), RGB(0, 0, 0));
  BitBlt(imageDc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, SRCAND);
}

void CTransparentBitmap::Draw(HDC dc, int x) const {
  UniqueMemoryDc source(CreateCompatibleDC(nullptr));
  if (!source || !mask || !image) return;
  COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
  {
    // Mask 1 (transparent) becomes white and keeps dc; mask 0 clears dc to black.
    SelectionGuard maskSelected(source.Get(), mask.Get());
    BitBlt(dc, x, Top, width, height, source.Get(), 0, 0, SRCAND);
  }
  {
    // The image's black transparent pixels leave dc alone; the others paint in.
    SelectionGuard imageSelected(source.Get(), image.Get());
    BitBlt(dc, x, Top, width, height, source.Get(), 0, 0, SRCPAINT);
  }
  SetTextColor(dc, previousText);
}
