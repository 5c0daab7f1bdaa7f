// Reading rule files: every key an entry may have, the forms of the file, and every key that
// cannot be read skipped alone, with its reason.
#include "cleaners/places.h"
#include "cleaners/variables.h"
#include "tests/cleaners/rules_harness.h"

namespace testing_cleaners {
namespace {

using cleaners::Issue;
using cleaners::ParseRuleFile;
using cleaners::Recursion;
using platform::RegistryRoot;

constexpr std::string_view kEntry =
    "; a comment\n"
    "[Chat App *]\n"
    "LangSecRef=3022\n"
    "Detect=HKCU\\Software\\Chat\n"
    "Detect2=HKEY_LOCAL_MACHINE\\Software\\Chat\\\n"
    "DetectFile1=%AppData%\\Chat*\n"
    "DetectOS=6.1|\n"
    "SpecialDetect=DET_WINDOWS\n"
    "Warning=Signs you out.\n"
    "Running1=chat.exe\n"
    "Running2=chat-helper.exe; updater.exe\n"
    "FileKey1=%AppData%\\Chat\\Cache|*\n"
    "  FileKey2 = %LocalAppData%/Chat/ | *.log;LOG ; x.tmp |recurse\n"
    "FileKey3=%ProgramFiles%\\Chat\\tmp|*.*|REMOVESELF\n"
    "ExcludeKey1=FILE|%AppData%\\Chat\\Cache\\|keep.dat;other.dat\n"
    "ExcludeKey2=PATH|%AppData%\\Chat\\Cache\\Keep\\\n"
    "ExcludeKey3=PATH|%AppData%\\Chat\\*\\|*.cfg\n"
    "ExcludeKey4=REG|HKCU\\Software\\Chat\\Accounts\n"
    "RegKey1=HKCU\\Software\\Chat\\Recent\n"
    "RegKey2=HKU\\.DEFAULT\\Software\\Chat|Last Folder\n";

TEST(RuleFile, EveryKeyOfAnEntryIsRead) {
  const cleaners::RuleFile file = ParseRuleFile(kEntry, "chat.ini");
  ASSERT_EQ(file.entries.size(), 1u);
  const cleaners::Entry& entry = file.entries[0];
  EXPECT_EQ(entry.name, "Chat App *");
  EXPECT_EQ(entry.file, "chat.ini");
  EXPECT_EQ(cleaners::Group(entry), "Internet");
  EXPECT_EQ(entry.keysRead, 18u);
  EXPECT_TRUE(entry.skipped.empty());
  ASSERT_EQ(entry.detect.size(), 2u);
  EXPECT_EQ(entry.detect[1].root, RegistryRoot::kLocalMachine);
  EXPECT_EQ(entry.detect[1].path, "Software\\Chat");
  EXPECT_EQ(entry.detectFiles, std::vector<std::string>{"%AppData%\\Chat*"});
  ASSERT_TRUE(entry.detectOs && entry.detectOs->from && !entry.detectOs->to);
  EXPECT_EQ(entry.detectOs->from->minor, 1u);
  EXPECT_EQ(entry.warning, "Signs you out.");
  EXPECT_EQ(entry.running,
            (std::vector<std::string>{"chat.exe", "chat-helper.exe", "updater.exe"}));
  ASSERT_EQ(entry.fileKeys.size(), 3u);
  EXPECT_EQ(entry.fileKeys[1].name, "FileKey2");
  EXPECT_EQ(entry.fileKeys[1].folder, "%LocalAppData%\\Chat");
  EXPECT_EQ(entry.fileKeys[1].patterns, (std::vector<std::string>{"*.log", "LOG", "x.tmp"}));
  EXPECT_EQ(entry.fileKeys[1].recursion, Recursion::kRecurse);
  EXPECT_EQ(entry.fileKeys[2].recursion, Recursion::kRemoveSelf);
  ASSERT_EQ(entry.excludeKeys.size(), 4u);
  EXPECT_EQ(entry.excludeKeys[0].names, (std::vector<std::string>{"keep.dat", "other.dat"}));
  EXPECT_EQ(entry.excludeKeys[1].folder, "%AppData%\\Chat\\Cache\\Keep");
  EXPECT_TRUE(entry.excludeKeys[1].names.empty());
  EXPECT_EQ(entry.excludeKeys[3].kind, cleaners::ExcludeKind::kRegistry);
  EXPECT_EQ(cleaners::FormatRegistryPath(entry.excludeKeys[3].key),
            "HKCU\\Software\\Chat\\Accounts");
  ASSERT_EQ(entry.regKeys.size(), 2u);
  EXPECT_FALSE(entry.regKeys[0].valueName);
  EXPECT_EQ(entry.regKeys[1].key.root, RegistryRoot::kUsers);
  EXPECT_EQ(entry.regKeys[1].valueName, "Last Folder");
}

TEST(RuleFile, ByteOrderMarkAndLineEndsChangeNothing) {
  std::string crlf = "\xEF\xBB\xBF";
  for (char c : kEntry) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  const cleaners::RuleFile lf = ParseRuleFile(kEntry, "a.ini");
  const cleaners::RuleFile withBom = ParseRuleFile(crlf, "a.ini");
  ASSERT_EQ(withBom.entries.size(), 1u);
  EXPECT_EQ(withBom.entries[0].name, lf.entries[0].name);
  EXPECT_EQ(withBom.entries[0].keysRead, lf.entries[0].keysRead);
  EXPECT_EQ(withBom.entries[0].fileKeys[2].value, lf.entries[0].fileKeys[2].value);
  EXPECT_TRUE(withBom.entries[0].skipped.empty());
}

// A key that cannot be read is skipped alone; the entry keeps its other keys.
TEST(RuleFile, EachUnreadableKeyIsSkippedWithItsReason) {
  const cleaners::RuleFile file = ParseRuleFile(
      "stray=line\n"
      "[A]\n"
      "FileKey1=%AppData%\\A|*.tmp\n"
      "FileKey2=%Documents%\\A|*.tmp\n"
      "FileKey3=%LocalAppData%\\A\\\n"
      "FileKey4=A\\Cache|*\n"
      "FileKey5=%AppData%\\A\\..\\..|*|RECURSE\n"
      "FileKey6=%AppData%\\A|*|RECURSE|REMOVESELF\n"
      "FileKey7=%AppData%\\A| ; |RECURSE\n"
      "FileKey8=%AppData%\\A|sub\\*.log\n"
      "FileKey9=%AppData%\\A|*|DELETE\n"
      "ExcludeKey1=DIR|%AppData%\\A\n"
      "RegKey1=HKXX\\Software\\A\n"
      "RegKey2=HKCU\\Software\\A|\n"
      "LangSecRef=x\n"
      "Section=One\n"
      "Section=Two\n"
      "Colour=blue\n"
      "DetectOS=ten\n"
      "SpecialDetect=DET_LYNX\n"
      "Running=C:\\a.exe\n"
      "Detect=\n"
      "no equals sign\n",
      "a.ini");
  ASSERT_EQ(file.entries.size(), 1u);
  const cleaners::Entry& entry = file.entries[0];
  ASSERT_EQ(file.outside.size(), 1u);
  EXPECT_EQ(file.outside[0].issue, Issue::kOutsideEntry);
  EXPECT_EQ(entry.keysRead, 2u);  // FileKey1 and the first Section
  ASSERT_EQ(entry.fileKeys.size(), 1u);
  EXPECT_EQ(entry.section, "One");
  const std::vector<std::pair<std::string, Issue>> expected = {
      {"FileKey2", Issue::kUnknownVariable},
      {"FileKey3", Issue::kNoBar},
      {"FileKey4", Issue::kNoPlainPath},
      {"FileKey5", Issue::kDotSegment},
      {"FileKey6", Issue::kUnknownFlag},
      {"FileKey7", Issue::kNoPattern},
      {"FileKey8", Issue::kPatternWithFolder},
      {"FileKey9", Issue::kUnknownFlag},
      {"ExcludeKey1", Issue::kUnknownExcludeKind},
      {"RegKey1", Issue::kUnknownRegistryRoot},
      {"RegKey2", Issue::kBadValue},
      {"LangSecRef", Issue::kBadValue},
      {"Section", Issue::kRepeatedKey},
      {"Colour", Issue::kUnknownKey},
      {"DetectOS", Issue::kBadValue},
      {"SpecialDetect", Issue::kBadValue},
      {"Running", Issue::kBadValue},
      {"Detect", Issue::kEmptyValue},
      {"no equals sign", Issue::kNotAKey}};
  ASSERT_EQ(entry.skipped.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(entry.skipped[i].key, expected[i].first);
    EXPECT_EQ(entry.skipped[i].issue, expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(cleaners::Group(entry), "One");
}

TEST_F(RulesTest, VariablesStandForTheSystemsFoldersAndProgramFilesForBoth) {
  const cleaners::Variables variables(sim);
  const auto texts = [&](std::string_view text) {
    std::vector<std::string> result;
    for (const cleaners::Expansion& expansion : variables.Expand(text))
      result.push_back(expansion.text + "|" + std::to_string(expansion.baseLength));
    return result;
  };
  EXPECT_EQ(texts("%ProgramFiles%\\Steam"),
            (std::vector<std::string>{"C:\\Program Files\\Steam|16",
                                      "C:\\Program Files (x86)\\Steam|22"}));
  EXPECT_EQ(texts("%localappdata%\\x\\%UserName%"),
            std::vector<std::string>{kLocal + "\\x\\tester|" + std::to_string(kLocal.size())});
  EXPECT_EQ(texts("%SystemDrive%\\AMD"), std::vector<std::string>{"C:\\AMD|2"});
  EXPECT_EQ(texts("%Temp%"),
            std::vector<std::string>{kLocal + "\\Temp|" + std::to_string(kLocal.size() + 5)});
  EXPECT_EQ(texts("D:\\Games\\100%"), std::vector<std::string>{"D:\\Games\\100%|2"});
  EXPECT_TRUE(cleaners::Variables::OnlyKnown("%CommonProgramFiles(x86)%\\%WinDir%"));
  EXPECT_FALSE(cleaners::Variables::OnlyKnown("%LocalLowAppData%\\x"));
  EXPECT_TRUE(texts("%Documents%\\x").empty());

  // On a 32-bit system both names are one folder; a folder the system lacks gives nothing.
  sim.SetSpecialFolder(platform::csidl::kProgramFilesX86, "c:\\program files");
  sim.SetSpecialFolder(platform::csidl::kPublic, "");
  const cleaners::Variables narrower(sim);
  EXPECT_EQ(narrower.Expand("%ProgramFiles%\\Steam").size(), 1u);
  EXPECT_TRUE(narrower.Expand("%Public%\\x").empty());
}

}  // namespace
}  // namespace testing_cleaners
