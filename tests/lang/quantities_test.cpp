#include "lang/quantities.h"

#include <gtest/gtest.h>

namespace lang {
namespace {

LanguageTexts TextsOf(const char* code, const char* oneFile, const char* files) {
  LanguageTexts texts;
  texts[Text::kOneFile] = oneFile;
  texts[Text::kFiles] = files;
  texts.SetCode(code);
  return texts;
}

TEST(Quantities, UnitsRoundingAndEachLanguagesMarks) {
  const LanguageTexts en = TextsOf("En", "1 file", "%1 files");
  const LanguageTexts de = TextsOf("De", "1 Datei", "%1 Dateien");
  constexpr std::uint64_t kKb = 1024, kMb = kKb * kKb, kGb = kMb * kKb;
  const struct {
    std::uint64_t bytes;
    const char* english;
    const char* german;
  } cases[] = {
      {0, "0.0 KB", "0,0 KB"},
      {1, "0.1 KB", "0,1 KB"},  // something is never shown as nothing
      {512, "0.5 KB", "0,5 KB"},
      {kMb - 1, "1,024.0 KB", "1.024,0 KB"},
      {kMb, "1.0 MB", "1,0 MB"},
      {412 * kMb + 3 * kMb / 10 + 1, "412.3 MB", "412,3 MB"},
      {kGb + kGb / 20 + 1, "1.1 GB", "1,1 GB"},  // half a tenth rounds up
      {5000 * kGb, "5,000.0 GB", "5.000,0 GB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSize(c.bytes, en), c.english) << c.bytes;
    EXPECT_EQ(FormatSize(c.bytes, de), c.german) << c.bytes;
  }
  EXPECT_EQ(FormatCount(1234567, en), "1,234,567");
  EXPECT_EQ(FormatCount(123, de), "123");
  EXPECT_EQ(FilesAndSize(1, 100, en), "1 file, 0.1 KB");
  EXPECT_EQ(FilesAndSize(1204, 356 * kMb, de), "1.204 Dateien, 356,0 MB");
}

}  // namespace
}  // namespace lang
