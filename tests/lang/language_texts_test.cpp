#include "lang/language_texts.h"

#include <gtest/gtest.h>

namespace lang {
namespace {

TEST(LanguageTexts, NoTextIsEverBlank) {
  const LanguageTexts fresh;
  EXPECT_EQ(fresh[Text::kDelete], "&L\xC3\xB6schen");
  // A short file, and an empty line, keep the design texts where they give none.
  const LanguageTexts read = ParseLanguageFile("File\r\n\r\n&Cancel\r\n", "En");
  EXPECT_EQ(read[Text::kMenuFile], "File");
  EXPECT_EQ(read[Text::kDelete], "&L\xC3\xB6schen");
  EXPECT_EQ(read[Text::kCancel], "&Cancel");
  EXPECT_EQ(read[Text::kLicence], DesignText(Text::kLicence));
  EXPECT_EQ(read.Code(), "En");
  for (const std::string& text : read)
    EXPECT_FALSE(text.empty());
}

TEST(LanguageTexts, AnAccessKeyMarkIsNoPartOfThePlainText) {
  EXPECT_EQ(WithoutAccessKey("&Delete"), "Delete");
  EXPECT_EQ(WithoutAccessKey("Re&cent documents"), "Recent documents");
  EXPECT_EQ(WithoutAccessKey("Tom && Jerry"), "Tom & Jerry");
  EXPECT_EQ(WithoutAccessKey("end&"), "end");
  EXPECT_EQ(WithoutAccessKey("plain"), "plain");
}

}  // namespace
}  // namespace lang
