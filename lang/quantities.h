// Counts and sizes as a report writes them, in the chosen language's style.
#pragma once

#include <cstdint>
#include <string>

#include "lang/language_texts.h"

namespace lang {

// "1,204" in English, "1.204" in German and Greek.
std::string FormatCount(std::uint64_t count, const LanguageTexts& texts);
// KB below 1 MB, then MB, then GB, each with one decimal: "0.5 KB", "412.3 MB" ("412,3 MB").
std::string FormatSize(std::uint64_t bytes, const LanguageTexts& texts);
// "1,204 files, 356.1 MB", "1 file, 0.2 KB".
std::string FilesAndSize(std::uint64_t files, std::uint64_t bytes, const LanguageTexts& texts);

}  // namespace lang
