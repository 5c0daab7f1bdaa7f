#include "lang/quantities.h"

#include <cstdio>

namespace lang {

namespace {

// English groups digits with commas and writes a decimal point; German and Greek the reverse.
bool EnglishStyle(const LanguageTexts& texts) {
  return texts.Code() == "En";
}

}  // namespace

std::string Filled(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string filled;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool marked =
        text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
    const std::size_t mark = marked ? static_cast<std::size_t>(text[i + 1] - '1') : values.size();
    if (mark < values.size()) {
      filled += values.begin()[mark];
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

std::string FormatCount(std::uint64_t count, const LanguageTexts& texts) {
  const std::string digits = std::to_string(count);
  const char mark = EnglishStyle(texts) ? ',' : '.';
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += mark;
    grouped += digits[i];
  }
  return grouped;
}

std::string FormatSize(std::uint64_t bytes, const LanguageTexts& texts) {
  constexpr std::uint64_t kKb = 1024;
  const char* unit = "KB";
  std::uint64_t scale = kKb;
  if (bytes >= kKb * kKb * kKb) {
    unit = "GB";
    scale = kKb * kKb * kKb;
  } else if (bytes >= kKb * kKb) {
    unit = "MB";
    scale = kKb * kKb;
  }
  // Tenths, rounded half up, in whole numbers: no floating point between two runs' figures. A
  // few bytes still show as something.
  std::uint64_t tenths = (bytes * 10 + scale / 2) / scale;
  if (tenths == 0 && bytes > 0) tenths = 1;
  return FormatCount(tenths / 10, texts) + (EnglishStyle(texts) ? '.' : ',') +
         std::to_string(tenths % 10) + " " + unit;
}

std::string FilesAndSize(std::uint64_t files, std::uint64_t bytes, const LanguageTexts& texts) {
  const std::string count =
      files == 1 ? texts[Text::kOneFile] : Filled(texts[Text::kFiles], {FormatCount(files, texts)});
  return count + ", " + FormatSize(bytes, texts);
}

}  // namespace lang
