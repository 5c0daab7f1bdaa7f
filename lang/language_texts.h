// The table of user-interface texts and the language files it is read from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace lang {

inline constexpr int kLanguageTextCount = 94;
using LanguageTexts = std::array<std::string, kLanguageTextCount>;

// "data\lang\" + the first two bytes of the code + ".dat".
std::string LanguageFilePath(std::string_view languageCode);

// Reads line n into entry n-1; a short file empties the entries it has no line for, a file that
// cannot be read leaves the table as it was. Lines after the last entry are ignored.
void ReadLanguageFile(platform::System& system, std::string_view languageCode,
                      LanguageTexts& texts);

// The Windows primary language identifier for message boxes: 7 "De", 9 "En", 8 "Gr", else 0.
std::uint16_t MessageLanguageIdFor(std::string_view languageCode);

}  // namespace lang
