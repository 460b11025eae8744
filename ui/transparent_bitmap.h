// A bitmap drawn with one colour left out: the colour of its top-left pixel.
#pragma once

#include <windows.h>

#include "core/handles.h"

class CTransparentBitmap {
 public:
  // Loads bitmap resource resourceId of the program and builds its mask.
  explicit CTransparentBitmap(int resourceId);
  // Takes ownership of a bitmap that is already loaded and builds its mask.
  explicit CTransparentBitmap(HBITMAP bitmap);
  CTransparentBitmap(const CTransparentBitmap&) = delete;
  CTransparentBitmap& operator=(const CTransparentBitmap&) = delete;

  // Draws the image at (x, 65) on dc, leaving out the key-coloured pixels. dc's
  // background colour must be white, as in a fresh memory context.
  void Draw(HDC dc, int x) const;

  int Width() const { return width; }
  int Height() const { return height; }

  static constexpr int Top = 65;

 private:
  void BuildMask();

  UniqueGdiObject image;  // key-coloured pixels turned black by BuildMask
  UniqueGdiObject mask;   // monochrome: 1 where the image is transparent
  int width = 0;
  int height = 0;
};
