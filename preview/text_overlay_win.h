// Text drawn over the preview: a queue of short texts, each in one of four
// fonts, drawn in one sprite batch per font at the end of the frame.
#pragma once
#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <string>

#include "render/dx_font_win.h"

constexpr int kOverlayFonts = 4;
constexpr int kOverlayItems = 320;
constexpr int kOverlayTextUnits = 96;  // terminator included

// Fonts 0 and 1 take this face unless the resource pack names another.
inline constexpr char16_t kOverlayDefaultFace[] = u"ＭＳ ゴシック";

struct OverlayItem {
  uint32_t font = 0;  // low 4 bits
  uint32_t length = 0;
  D3DCOLOR colour = 0;
  int32_t x = 0, y = 0;
  wchar_t text[kOverlayTextUnits] = {};
};

class TextOverlay {
 public:
  explicit TextOverlay(CDXRenderer* renderer);

  // Makes the four fonts; one that cannot be made draws nothing.
  void CreateFonts(const std::u16string& face);
  // Queues a text, cut to fit; ignored when the queue is full.
  void Queue(int font, int x, int y, D3DCOLOR colour, const std::u16string& text);
  // Draws the queue font by font in queue order, then empties it.
  void Draw();

  int Queued() const { return count_; }
  const OverlayItem& Item(int index) const { return items_[index]; }
  CDXFont* Font(int index) const { return fonts_[index].get(); }

 private:
  CDXRenderer* renderer_;
  std::unique_ptr<CDXFont> fonts_[kOverlayFonts];
  std::unique_ptr<OverlayItem[]> items_;
  int count_ = 0;
};

// A line of text shown over the preview for a while (a saved screenshot's
// name, say), then gone by itself. Times are scene-clock milliseconds.
class TransientLine {
 public:
  TransientLine(int font, int x, int y, D3DCOLOR colour) : font_(font), x_(x), y_(y), colour_(colour) {}

  // Shows `text` from `now` for `duration_ms`, in place of any earlier text.
  void Show(const std::u16string& text, uint32_t now, uint32_t duration_ms);
  void Clear() { text_.clear(); }
  // The text while its time lasts, else empty.
  const std::u16string& TextAt(uint32_t now);
  // Queues the text on `overlay` while its time lasts.
  void QueueOn(TextOverlay& overlay, uint32_t now);

 private:
  int font_, x_, y_;
  D3DCOLOR colour_;
  std::u16string text_;
  uint32_t shown_at_ = 0, duration_ = 0;
};
