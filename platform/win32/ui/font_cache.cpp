#include "platform/win32/ui/font_cache.h"

#include <cwchar>

#include "platform/win32/ui/dpi.h"
#include "platform/win32/ui/text.h"

namespace platform::win32 {

HFONT FontCache::Get(const ui::Font& font, int dpi) {
  Key key{font.face, font.height, font.bold, dpi};
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.Get();

  LOGFONTW description = MessageFont(dpi);
  if (!font.face.empty()) {
    const std::wstring face = Wide(font.face);
    std::wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    description.lfFaceName[LF_FACESIZE - 1] = L'\0';
    description.lfCharSet = DEFAULT_CHARSET;
  }
  if (font.height > 0) description.lfHeight = -ScaleToDpi(font.height, dpi);
  if (font.bold) description.lfWeight = FW_BOLD;
  UniqueFont made(::CreateFontIndirectW(&description));
  const HFONT handle = made.Get();
  if (handle) fonts_.emplace(std::move(key), std::move(made));
  return handle;
}

}  // namespace platform::win32
