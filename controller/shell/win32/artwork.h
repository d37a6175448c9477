// Painting the program's artwork bitmaps over a white window, for the splash screen and the About box.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace ph::win {

// One bitmap and the rectangle it is copied to; a bitmap that failed to load (null) leaves its
// place white.
struct ArtworkPiece {
  HBITMAP bitmap;
  int x;
  int y;
  int width;
  int height;
  DWORD raster_op;  // SRCCOPY, or SRCAND so that the white parts let what is beneath show
};

// Answers WM_PAINT: fills the client area white, then draws the pieces in order.
void PaintArtwork(HWND window, std::initializer_list<ArtworkPiece> pieces);

}  // namespace ph::win
