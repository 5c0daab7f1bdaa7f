#include "platform/win32/ui/text_meter.h"

#include <optional>

#include "platform/utf.h"

namespace platform::win32 {

namespace {

constexpr std::size_t kUnits = 0x10000;

bool IsSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace

TextMeter::TextMeter() : dc_(::CreateCompatibleDC(nullptr)) {}

int TextMeter::Width(HFONT font, std::string_view utf8) {
  // Text that is not WTF-8 measures as nothing, as it converts to nothing everywhere else.
  if (!Utf8ToUtf16(utf8, units_)) return 0;
  std::vector<std::int16_t>& advances = advances_[font];
  if (advances.empty()) advances.assign(kUnits, -1);
  std::optional<SelectedFont> selected;  // only while a character is new to this font
  int width = 0;
  for (const char16_t unit : units_) {
    if (IsSurrogate(unit)) return MeasureWhole(font);
    std::int16_t& advance = advances[unit];
    if (advance < 0) {
      if (!selected) selected.emplace(dc_.Get(), font);
      const auto wide = static_cast<wchar_t>(unit);
      SIZE size{};
      ::GetTextExtentPoint32W(dc_.Get(), &wide, 1, &size);
      advance = static_cast<std::int16_t>(size.cx);
    }
    width += advance;
  }
  return width;
}

int TextMeter::MeasureWhole(HFONT font) {
  const std::wstring wide(units_.begin(), units_.end());
  const SelectedFont selected(dc_.Get(), font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc_.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

}  // namespace platform::win32
