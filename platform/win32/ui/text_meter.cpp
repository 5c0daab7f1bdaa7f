#include "platform/win32/ui/text_meter.h"

#include <optional>

namespace platform::win32 {

namespace {

constexpr std::size_t kUnits = 0x10000;

bool IsSurrogate(wchar_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace

TextMeter::TextMeter() : dc_(::CreateCompatibleDC(nullptr)) {}

int TextMeter::Width(HFONT font, std::wstring_view text) {
  std::vector<std::int16_t>& advances = advances_[font];
  if (advances.empty()) advances.assign(kUnits, -1);
  std::optional<SelectedFont> selected;  // only while a character is new to this font
  int width = 0;
  for (const wchar_t unit : text) {
    if (IsSurrogate(unit)) return MeasureWhole(font, text);
    std::int16_t& advance = advances[static_cast<std::size_t>(unit)];
    if (advance < 0) {
      if (!selected) selected.emplace(dc_.Get(), font);
      SIZE size{};
      ::GetTextExtentPoint32W(dc_.Get(), &unit, 1, &size);
      advance = static_cast<std::int16_t>(size.cx);
    }
    width += advance;
  }
  return width;
}

int TextMeter::MeasureWhole(HFONT font, std::wstring_view text) {
  const SelectedFont selected(dc_.Get(), font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc_.Get(), text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace platform::win32
