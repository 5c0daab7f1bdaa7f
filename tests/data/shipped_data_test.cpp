// The data folder shipped beside dustorix.exe: byte-exact, and defaults a user can trust.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "cleaners/rule_file.h"
#include "lang/language_texts.h"
#include "platform/text_lines.h"
#include "platform/utf.h"
#include "platform/wildcard.h"
#include "settings/list_file.h"
#include "settings/patterns.h"
#include "settings/settings_files.h"

namespace {

std::string Slurp(const std::string& relative) {
  std::ifstream in(std::string(DUSTORIX_SOURCE_DIR) + "/" + relative, std::ios::binary);
  EXPECT_TRUE(in) << relative;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every line ends in CR LF, none is empty, the text is valid UTF-8 without a byte-order mark.
std::vector<std::string> CheckedLines(const std::string& relative) {
  const std::string bytes = Slurp(relative);
  EXPECT_TRUE(platform::Utf8ToUtf16(bytes)) << relative;
  EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << relative;
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << relative;
  std::vector<std::string> lines = platform::SplitTextLines(bytes);
  EXPECT_EQ(settings::FormatListFile(lines), bytes) << relative << ": lone CR or LF";
  for (const std::string& line : lines)
    EXPECT_FALSE(line.empty()) << relative;
  return lines;
}

TEST(ShippedData, FirstRunCopiesEqualTheFactoryDefaults) {
  EXPECT_EQ(Slurp("data/fileformat.dat"), Slurp("data/standard/fileformat.dat"));
  EXPECT_EQ(Slurp("data/exception.dat"), Slurp("data/standard/exception.dat"));
  // Review mode alone: a first clean run shows its finds before anything is removed.
  settings::Switches expected{};
  expected[settings::kReviewFirst] = true;
  EXPECT_EQ(Slurp("data/advancedoption.dat"), settings::FormatAdvancedOptions(expected));
}

TEST(ShippedData, DefaultPatternsTakeNoProgramNoDocumentAndNoMarkerFile) {
  const std::vector<std::string> patterns = CheckedLines("data/standard/fileformat.dat");
  const std::vector<std::string> exceptions = CheckedLines("data/standard/exception.dat");
  ASSERT_FALSE(patterns.empty());
  const std::vector<std::string> mustSurvive = {
      "x.exe",           "x.dll",     "x.sys",      "x.bat",
      "x.ini",           "x.dat",     "x.cpl",      "Quarterly report.docx",
      "budget.xlsx",     "photo.jpg", "thesis.pdf", "notes.txt",
      "archive.zip",     "main.cpp",  "backup.bak", "settings.json",
      "document.tmp123", "README",    "a~b.txt",    "song.mp3"};
  for (const std::string& pattern : patterns) {
    const platform::WildcardPattern compiled(pattern);
    for (const std::string& name : mustSurvive) {
      EXPECT_FALSE(compiled.Matches(name)) << pattern << " takes " << name;
    }
    EXPECT_TRUE(settings::IsAcceptablePattern(pattern, settings::BuildProtectedPatterns()))
        << pattern;
    EXPECT_FALSE(settings::DocumentTakenBy(pattern)) << pattern << " would ask first";
  }
  for (const char* marker : {"__init__.py", ".gitkeep", ".nomedia", "py.typed"}) {
    EXPECT_NE(std::find(exceptions.begin(), exceptions.end(), marker), exceptions.end()) << marker;
  }
}

// A text each for every place the program shows one, in every language alike.
TEST(ShippedData, LanguageFilesHoldTheSameNumberOfLines) {
  const size_t lines = CheckedLines("data/lang/En.dat").size();
  EXPECT_GE(lines, static_cast<size_t>(lang::kLanguageTextCount));
  for (const char* file : {"data/lang/De.dat", "data/lang/Gr.dat"})
    EXPECT_EQ(CheckedLines(file).size(), lines) << file;
}

// The German file is the design texts: what the forms show when no file gives a text.
TEST(ShippedData, TheGermanFileHoldsTheDesignTexts) {
  const std::vector<std::string> lines = CheckedLines("data/lang/De.dat");
  ASSERT_EQ(lines.size(), static_cast<size_t>(lang::kLanguageTextCount));
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i], lang::DesignText(static_cast<lang::Text>(i))) << "line " << i + 1;
}

// The access key of a caption: its letter after "&", upper-cased as Windows compares them.
char16_t AccessKey(const std::string& caption) {
  const std::size_t mark = caption.find('&');
  if (mark == std::string::npos || caption.find('&', mark + 1) != std::string::npos) return 0;
  const std::optional<std::u16string> rest = platform::Utf8ToUtf16(caption.substr(mark + 1));
  if (!rest || rest->empty() || (*rest)[0] == u' ') return 0;
  return platform::UpcaseChar((*rest)[0]);
}

// Every button and check box, and every menu, can be reached with Alt and a letter, in every
// language, and no two of one window (or one menu) share their letter.
TEST(ShippedData, EveryButtonCheckBoxAndMenuHasItsOwnAccessKey) {
  using lang::Text;
  const std::vector<std::vector<Text>> windows = {
      // The main window's controls, with the menu bar, whose letters Alt shares with them.
      {Text::kAllDrives, Text::kAnalyze, Text::kDelete, Text::kCancel, Text::kOptions, Text::kClose,
       Text::kMenuFile, Text::kMenuEdit, Text::kMenuHelp},
      {Text::kDelete, Text::kCancel, Text::kExit},
      {Text::kAnalyze, Text::kMenuLanguage, Text::kOptions},
      {Text::kAbout},
      {Text::kAdd,
       Text::kRemove,
       Text::kRecycleFoundCaption,
       Text::kReviewFirstCaption,
       Text::kTempFoldersCaption,
       Text::kRecentDocumentsCaption,
       Text::kEmptyRecycleBinCaption,
       Text::kTempInternetFilesCaption,
       Text::kCookiesCaption,
       Text::kFavouritesCaption,
       Text::kHistoryCaption,
       Text::kZeroByteFilesCaption,
       Text::kOldUpdateFilesCaption,
       Text::kSystemLogCaption,
       Text::kUnusedDllsCaption,
       Text::kRunListCaption,
       Text::kErrorReportsCaption,
       Text::kShaderCachesCaption,
       Text::kThumbnailsCaption,
       Text::kDeliveryOptimizationCaption,
       Text::kUpgradeLogsCaption,
       Text::kOk,
       Text::kDiscard,
       Text::kStandard},
      {Text::kOk, Text::kCancel},  // the input box
      {Text::kMarkAll, Text::kUnmarkAll, Text::kContinue},
  };
  for (const char* code : {"De", "En", "Gr"}) {
    const lang::LanguageTexts texts =
        lang::ParseLanguageFile(Slurp(std::string("data/lang/") + code + ".dat"), code);
    for (const std::vector<Text>& window : windows) {
      std::vector<char16_t> keys;
      for (const Text text : window) {
        const char16_t key = AccessKey(texts[text]);
        EXPECT_NE(key, 0) << code << ": " << texts[text] << " needs one access key";
        EXPECT_EQ(std::count(keys.begin(), keys.end(), key), 0)
            << code << ": " << texts[text] << " shares its key";
        keys.push_back(key);
      }
    }
  }
}

// The project's own rules read whole, each entry of an application that might run, and the
// first-run choice: every entry without a warning, and no other.
TEST(ShippedData, OwnRulesReadWholeAndTheFirstRunChoiceTakesThoseWithoutAWarning) {
  const std::string bytes = Slurp("data/cleaners/dustorix.ini");
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
  const cleaners::RuleFile rules = cleaners::ParseRuleFile(bytes, "dustorix.ini");
  EXPECT_TRUE(rules.outside.empty());
  std::vector<std::string> withoutWarning;
  for (const cleaners::Entry& entry : rules.entries) {
    EXPECT_TRUE(entry.skipped.empty()) << entry.name << ": " << entry.skipped[0].key;
    EXPECT_FALSE(entry.running.empty()) << entry.name;
    EXPECT_FALSE(entry.fileKeys.empty()) << entry.name;
    EXPECT_TRUE(entry.detectFiles.size() + entry.detect.size() > 0) << entry.name;
    if (entry.warning.empty()) withoutWarning.push_back(entry.name);
  }
  EXPECT_GE(rules.entries.size(), 15u);
  EXPECT_EQ(CheckedLines("data/cleaners.dat"), withoutWarning);
}

}  // namespace
