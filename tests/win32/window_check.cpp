#include "tests/win32/window_check.h"

#include <cstdlib>

#include "platform/win32/ui/dpi.h"
#include "platform/win32/wide_path.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"

namespace testing_program {

namespace {

// A header's text has three edges of room on either side; a sort arrow takes the width of a
// small icon beside it (classic headers draw it there; themed ones above the text).
constexpr int kHeaderMargins = 12;
constexpr int kSortArrowRoom = 18;

}  // namespace

TextMeter::TextMeter()
    : TextMeter(platform::win32::ForcedDpi() ? platform::win32::ForcedDpi()
                                             : platform::win32::SystemDpi()) {}

TextMeter::TextMeter(int dpi) : dpi_(dpi), screen_(::GetDC(nullptr)) {}

TextMeter::~TextMeter() {
  ::ReleaseDC(nullptr, screen_);
}

int TextMeter::Width(const std::string& text, const ui::Font& font) {
  return Measure(text, font, 0, DT_SINGLELINE).right;
}

RECT TextMeter::Wrapped(const std::string& text, int width, const ui::Font& font) {
  return Measure(text, font, width, DT_WORDBREAK);
}

RECT TextMeter::Measure(const std::string& text, const ui::Font& font, int width, UINT format) {
  const std::wstring wide = testing_win32::W(text);
  const HGDIOBJ old = ::SelectObject(screen_, fonts_.Get(font, dpi_));
  RECT rect{0, 0, width, 0};
  ::DrawTextW(screen_, wide.c_str(), static_cast<int>(wide.size()), &rect,
              DT_CALCRECT | DT_LEFT | format);
  ::SelectObject(screen_, old);
  return rect;
}

std::vector<std::string> TightColumnCaptions(HWND listView, TextMeter& meter) {
  std::vector<std::string> tight;
  const int allowance = meter.Scale(kHeaderMargins + kSortArrowRoom);
  for (const ListViewColumn& column : ListViewColumns(listView)) {
    if (column.caption.find_first_not_of(' ') == std::string::npos) continue;
    const int room = (column.width - allowance) * 9 / 10;
    const int width = meter.Width(column.caption);
    if (width > room) {
      tight.push_back("the column caption \"" + column.caption + "\" takes " +
                      std::to_string(width) + " px, more than 90 % of its room (" +
                      std::to_string(room) + " px of a " + std::to_string(column.width) +
                      " px column)");
    }
  }
  return tight;
}

std::string ScaleName() {
  wchar_t value[16] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", value, 16);
  return length > 0 && length < 16 ? platform::win32::Narrow(value) : "100";
}

void Shoot(HWND window, const std::string& name) {
  if (std::getenv("DUSTORIX_SHOTS") == nullptr) return;
  ::Sleep(500);  // let the program paint
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  const DWORD rowBytes = static_cast<DWORD>((width * 3 + 3) & ~3);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
  header.bfSize = header.bfOffBits + rowBytes * static_cast<DWORD>(height);
  const std::string path = "T:\\shots\\" + ScaleName() + "-" + name + ".bmp";
  std::string picture(reinterpret_cast<const char*>(&header), sizeof(header));
  picture.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
  if (bits) picture.append(static_cast<const char*>(bits), rowBytes * static_cast<DWORD>(height));
  testing_win32::MakeFile(path, picture);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace testing_program
