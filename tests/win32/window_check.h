// Looking at the real program's windows from a test: texts measured as the program draws them,
// the room column captions have, and pictures of windows for scripts/shots.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/types.h"
#include "platform/win32/ui/font_cache.h"
#include "platform/win32/win.h"

namespace testing_program {

// Measures texts as the program draws them: in the font it gives the control (the system's
// message font unless the window names another) at the dpi it runs at (the same
// DUSTORIX_UI_SCALE reaches both processes, or the dpi given). "&x" draws as an underlined x.
class TextMeter {
 public:
  TextMeter();
  explicit TextMeter(int dpi);
  ~TextMeter();
  TextMeter(const TextMeter&) = delete;
  TextMeter& operator=(const TextMeter&) = delete;

  int Width(const std::string& text, const ui::Font& font = {});
  // The text broken into lines of at most `width` pixels: the width and height it takes.
  RECT Wrapped(const std::string& text, int width, const ui::Font& font);
  int Scale(int designPixels) const { return ::MulDiv(designPixels, dpi_, 96); }

 private:
  RECT Measure(const std::string& text, const ui::Font& font, int width, UINT format);

  int dpi_;
  platform::win32::FontCache fonts_;
  HDC screen_;
};

// The column captions of a list view (SysListView32) that do not fit their column with a tenth
// of the room to spare, beside the header's margins and a sort arrow: one line each, empty when
// all fit. Works across processes.
std::vector<std::string> TightColumnCaptions(HWND listView, TextMeter& meter);

// The scaling the program is started with, as a percentage.
std::string ScaleName();

// Saves the window as the screen shows it, as T:\shots\<scaling>-<name>.bmp, when
// DUSTORIX_SHOTS asks for pictures.
void Shoot(HWND window, const std::string& name);

}  // namespace testing_program
