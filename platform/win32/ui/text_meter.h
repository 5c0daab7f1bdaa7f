// The width of a line of text in a font, as GetTextExtentPoint32W gives it. Review mode measures
// every path it finds, and under Wine a whole-string measurement costs some 200 ns a character;
// since GDI's extent is the sum of the characters' whole-pixel advances (no kerning, no
// shaping), each character is measured once per font and the widths are added up. Nothing is
// allocated per call: the scan calls it between allocations that stay.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/ui/ui_handles.h"

namespace platform::win32 {

class TextMeter {
 public:
  TextMeter();
  int Width(HFONT font, std::string_view utf8);

 private:
  // Measures the converted string whole: for characters outside the table (surrogates).
  int MeasureWhole(HFONT font);

  UniqueMemoryDc dc_;
  std::u16string units_;
  // Per font, the advance of every UTF-16 unit outside the surrogates; -1 until measured.
  std::map<HFONT, std::vector<std::int16_t>> advances_;
};

}  // namespace platform::win32
