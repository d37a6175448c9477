// Painting the artwork bitmaps through one memory device context.
#include "controller/shell/win32/artwork.h"

#include "platform/win32/unique_handle.h"

namespace ph::win {
namespace {

// BeginPaint and its EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintScope() { ::EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_;
};

}  // namespace

void PaintArtwork(HWND window, std::initializer_list<ArtworkPiece> pieces) {
  const PaintScope paint(window);
  RECT client;
  ::GetClientRect(window, &client);
  ::FillRect(paint.dc(), &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  const UniqueHdc memory(::CreateCompatibleDC(paint.dc()));
  if (!memory) return;
  for (const ArtworkPiece& piece : pieces) {
    if (!piece.bitmap) continue;
    const HGDIOBJ old = ::SelectObject(memory.get(), piece.bitmap);
    ::BitBlt(paint.dc(), piece.x, piece.y, piece.width, piece.height, memory.get(), 0, 0, piece.raster_op);
    ::SelectObject(memory.get(), old);
  }
}

}  // namespace ph::win
