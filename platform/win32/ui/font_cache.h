// Fonts made once per description and dpi and kept while the backend lives, so that the
// controls of every form can share them.
#pragma once

#include <compare>
#include <map>
#include <string>

#include "platform/ui/types.h"
#include "platform/win32/ui/ui_handles.h"

namespace platform::win32 {

class FontCache {
 public:
  // The system's UI font unless the font names a face; a height in design pixels of character
  // height, scaled to the dpi.
  HFONT Get(const ui::Font& font, int dpi);

 private:
  struct Key {
    std::string face;
    int height = 0;
    bool bold = false;
    int dpi = 0;
    auto operator<=>(const Key&) const = default;
  };
  std::map<Key, UniqueFont> fonts_;
};

}  // namespace platform::win32
