#include "preview/text_overlay_win.h"

#include <d3dx9core.h>

#include <algorithm>
#include <cwchar>

namespace {

struct FontRow {
  INT height;
  UINT width;
  BYTE charset;
  bool pack_face;  // the pack's face, else Arial
};

constexpr FontRow kFontRows[kOverlayFonts] = {
    {12, 0, SHIFTJIS_CHARSET, true},
    {16, 0, SHIFTJIS_CHARSET, true},
    {12, 6, ANSI_CHARSET, false},
    {10, 5, ANSI_CHARSET, false},
};

D3DXFONT_DESCW Description(const FontRow& row, const std::u16string& face) {
  D3DXFONT_DESCW desc = {};
  desc.Height = row.height;
  desc.Width = row.width;
  desc.Weight = FW_NORMAL;
  desc.MipLevels = 1;
  desc.Italic = FALSE;
  desc.CharSet = row.charset;
  desc.OutputPrecision = OUT_DEFAULT_PRECIS;
  desc.Quality = DEFAULT_QUALITY;
  desc.PitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::u16string name = row.pack_face ? face : u"Arial";
  const size_t units = std::min(name.size(), static_cast<size_t>(LF_FACESIZE - 1));
  wmemcpy(desc.FaceName, reinterpret_cast<const wchar_t*>(name.data()), units);
  desc.FaceName[units] = 0;
  return desc;
}

}  // namespace

TextOverlay::TextOverlay(CDXRenderer* renderer)
    : renderer_(renderer), items_(std::make_unique<OverlayItem[]>(kOverlayItems)) {}

void TextOverlay::CreateFonts(const std::u16string& face) {
  for (int i = 0; i < kOverlayFonts; ++i) {
    fonts_[i] = std::make_unique<CDXFont>(renderer_);
    fonts_[i]->Create(Description(kFontRows[i], face));
  }
}

void TextOverlay::Queue(int font, int x, int y, D3DCOLOR colour, const std::u16string& text) {
  if (count_ >= kOverlayItems) return;
  OverlayItem& item = items_[count_++];
  item.font = static_cast<uint32_t>(font) & 0xF;
  item.colour = colour;
  item.x = x;
  item.y = y;
  const size_t units = std::min(text.size(), static_cast<size_t>(kOverlayTextUnits - 1));
  wmemcpy(item.text, reinterpret_cast<const wchar_t*>(text.data()), units);
  item.text[units] = 0;
  item.length = static_cast<uint32_t>(units);
}

void TextOverlay::Draw() {
  for (int f = 0; f < kOverlayFonts; ++f) {
    CDXFont* font = fonts_[f].get();
    bool begun = false;
    for (int i = 0; i < count_; ++i) {
      const OverlayItem& item = items_[i];
      if (item.font != static_cast<uint32_t>(f)) continue;
      if (font == nullptr || font->Font() == nullptr || font->Sprite() == nullptr) break;
      if (!begun) {
        if (FAILED(font->Sprite()->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE))) break;
        begun = true;
      }
      RECT rect = {item.x, item.y, item.x, item.y};
      font->Font()->DrawTextW(font->Sprite(), item.text, static_cast<INT>(item.length), &rect, DT_NOCLIP,
                              item.colour);
    }
    if (begun) font->Sprite()->End();
  }
  count_ = 0;
}

void TransientLine::Show(const std::u16string& text, uint32_t now, uint32_t duration_ms) {
  text_ = text;
  shown_at_ = now;
  duration_ = duration_ms;
}

const std::u16string& TransientLine::TextAt(uint32_t now) {
  // A clock that went back (a new scene start) ends the line too.
  if (!text_.empty() && (now < shown_at_ || now - shown_at_ >= duration_)) text_.clear();
  return text_;
}

void TransientLine::QueueOn(TextOverlay& overlay, uint32_t now) {
  if (!TextAt(now).empty()) overlay.Queue(font_, x_, y_, colour_, text_);
}
