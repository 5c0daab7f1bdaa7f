// Plain values shared by the controls and the backends.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

// Bounds in design pixels (96 dots per inch); a backend scales them for the monitor.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  bool isDefault = true;  // the system's text colour
  static Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {r, g, b, false}; }
  bool operator==(const Color&) const = default;
};

// A font: the system's UI font unless a face is named; sizes in design pixels of character
// height, 0 for the UI font's own size.
struct Font {
  std::string face;
  int height = 0;
  bool bold = false;
  Color color;
  bool operator==(const Font&) const = default;
};

enum class ModalResult { kNone, kOk, kCancel, kAbort, kClose };

enum class CloseAction { kHide, kFree, kNone };

enum class Cursor { kDefault, kHand };

// A window message as the application's message filter sees it.
struct Message {
  std::uint32_t id = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

// Virtual key codes the forms react to.
inline constexpr int kKeyReturn = 0x0D;
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeySpace = 0x20;
inline constexpr int kKeyPageUp = 0x21;
inline constexpr int kKeyPageDown = 0x22;
inline constexpr int kKeyEnd = 0x23;
inline constexpr int kKeyHome = 0x24;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyA = 0x41;

}  // namespace ui
