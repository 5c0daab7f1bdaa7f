// Counts and sizes as a report writes them, in the chosen language's style.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "lang/language_texts.h"

namespace lang {

// `text` with every "%1" replaced by the first value, "%2" by the second and so on, in one pass:
// a value that itself holds such a mark stays as it is. A mark without its value stays too.
std::string Filled(std::string_view text, std::initializer_list<std::string_view> values);
// "1,204" in English, "1.204" in German and Greek.
std::string FormatCount(std::uint64_t count, const LanguageTexts& texts);
// KB below 1 MB, then MB, then GB, each with one decimal: "0.5 KB", "412.3 MB" ("412,3 MB").
std::string FormatSize(std::uint64_t bytes, const LanguageTexts& texts);
// "1,204 files, 356.1 MB", "1 file, 0.2 KB".
std::string FilesAndSize(std::uint64_t files, std::uint64_t bytes, const LanguageTexts& texts);

}  // namespace lang
