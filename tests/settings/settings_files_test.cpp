#include "settings/settings_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "platform/sim/fault_injection.h"
#include "platform/sim/sim_system.h"
#include "settings/list_file.h"
#include "tests/platform/contract_world.h"

namespace settings {
namespace {

using platform::DriveType;
using platform::sim::Op;
using platform::sim::SimSystem;
using Lines = std::vector<std::string>;
namespace attr = platform::attr;

class SettingsFilesTest : public ::testing::Test {
 protected:
  SettingsFilesTest() {
    sim.AddDrive('C', DriveType::kFixed);
    sim.AddFolder("C:\\app\\data\\lang");
    sim.SetCurrentDirectory("C:\\app");
  }
  Settings Load() {
    Settings loaded;
    LoadSettings(faults, loaded);
    return loaded;
  }
  SimSystem sim;
  platform::sim::FaultInjector faults{sim};
};

TEST_F(SettingsFilesTest, FirstRunWithoutFilesGivesTheInitialState) {
  Settings s = Load();
  EXPECT_TRUE(s.FileEndingList.empty());
  EXPECT_TRUE(s.ExceptionList.empty());
  EXPECT_EQ(s.AdvancedOptions, Switches{});
  EXPECT_EQ(s.LanguageRecord.LanguageCode, "");
  EXPECT_FALSE(s.LanguageRecord.LanguageChosen);
  EXPECT_EQ(s.ProtectedPatterns,
            (Lines{"*.exe", "*.*", "*.sys", "*.bat", "*.dll", "*.dat", "*.ini", "*.cpl"}));
  // Closing creates the four files where the folders exist.
  SaveSettings(sim, s);
  EXPECT_EQ(sim.Content("C:\\app\\data\\fileformat.dat"), "");
  EXPECT_EQ(sim.Content("C:\\app\\data\\advancedoption.dat"), std::string(20, '\0'));
  EXPECT_EQ(sim.Content("C:\\app\\data\\lang\\whichlang.dat"), std::string(4, '\0'));
}

TEST_F(SettingsFilesTest, MissingDataFolderIsNeverCreated) {
  sim.SetCurrentDirectory("C:\\");
  Settings s = Load();
  s.FileEndingList = {"*.tmp"};
  SaveSettings(sim, s);
  EXPECT_FALSE(sim.Exists("C:\\data"));
}

TEST_F(SettingsFilesTest, ListsKeepSpellingLeadingBlanksAndEmptyEntries) {
  sim.AddFile("data\\fileformat.dat", "*.tmp\r\n\r\n *.chk \t\r\n~*.tmp");
  sim.AddFile("data\\exception.dat", "THUMBS.DB\r\n\xC3\x84RGER.TXT\r\n");
  Settings s = Load();
  // Windows drops the blanks a name ends in: an entry that kept them would never match.
  EXPECT_EQ(s.FileEndingList, (Lines{"*.tmp", "", " *.chk", "~*.tmp"}));
  EXPECT_EQ(s.ExceptionList, (Lines{"THUMBS.DB", "\xC3\x84RGER.TXT"}));
  EXPECT_EQ(s.ExceptionListLower, (Lines{"thumbs.db", "\xC3\x84rger.txt"}));
  SaveSettings(sim, s);
  EXPECT_EQ(sim.Content("data\\fileformat.dat"), "*.tmp\r\n\r\n *.chk\r\n~*.tmp\r\n");
  EXPECT_EQ(sim.Content("data\\exception.dat"), "THUMBS.DB\r\n\xC3\x84RGER.TXT\r\n");
}

// As Notepad and PowerShell save them: with a byte-order mark, in UTF-8 or UTF-16.
TEST_F(SettingsFilesTest, ListsSavedByOtherEditorsReadAsTheirText) {
  const Lines expected = {"*.tmp", "\xCE\xB1.bak", "~*.old"};
  const std::string utf8 = "*.tmp\r\n\xCE\xB1.bak\r\n~*.old\r\n";
  std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
  for (const char16_t unit : u"*.tmp\r\n\u03B1.bak  \r\n~*.old\r\n") {
    if (unit == 0) break;
    utf16le += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    utf16be += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
  }
  for (const std::string& bytes : {"\xEF\xBB\xBF" + utf8, utf16le, utf16be}) {
    sim.AddFile("data\\fileformat.dat", bytes);
    sim.AddFile("data\\standard\\exception.dat", bytes);
    EXPECT_EQ(Load().FileEndingList, expected);
    EXPECT_EQ(ReadListFile(sim, kStandardExceptionPath), expected);
  }
  // Saved back without a mark, in UTF-8.
  SaveSettings(sim, Load());
  EXPECT_EQ(sim.Content("data\\fileformat.dat"), utf8);
}

TEST_F(SettingsFilesTest, AdvancedOptionBytes) {
  struct Case {
    std::string bytes;
    std::optional<std::vector<int>> on;  // nothing: not switches at all
  };
  const std::vector<Case> cases = {
      // As earlier versions wrote it: the error reports and shader caches stay off.
      {std::string(14, '\x01'), std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
      {std::string(14, '\0') + "\x01\x01", std::vector<int>{14, 15}},
      {std::string(16, '\0'), std::vector<int>{}},
      {std::string(16, '\0') + std::string("\x01\x00\x01", 3), std::vector<int>{16, 18}},
      // An editor's digits: ASCII "1" on every clean-up would have emptied the recycle bin.
      {"0000000000000100", std::nullopt},
      {std::string("\x01\x00\x01\x00\x01", 5), std::nullopt},  // short
      {std::string(15, '\0'), std::nullopt},
      {std::string(17, '\0'), std::nullopt},
      {std::string(18, '\0') + "\x01", std::vector<int>{18}},
      {std::string(19, '\0') + "\x01", std::vector<int>{19}},
      {std::string(21, '\0'), std::nullopt},
      {std::string(13, '\0') + "\x02", std::nullopt},
      {std::string(15, '\0') + "\xFF", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<Switches> expected;
    if (c.on) {
      expected.emplace();
      for (int i : *c.on)
        (*expected)[static_cast<size_t>(i)] = true;
    }
    EXPECT_EQ(ParseAdvancedOptions(c.bytes), expected) << ::testing::PrintToString(c.bytes);
    // At start an unreadable file leaves every switch off and is kept as it is.
    sim.AddFile("data\\advancedoption.dat", c.bytes);
    Settings loaded = Load();
    EXPECT_EQ(loaded.AdvancedOptions, expected.value_or(Switches{}));
    EXPECT_EQ(loaded.keepOnDisk[static_cast<int>(SettingsFile::kAdvancedOption)], !c.on);
    SaveSettings(sim, loaded);
    EXPECT_EQ(sim.Content("data\\advancedoption.dat"),
              c.on ? FormatAdvancedOptions(*expected) : c.bytes);
  }
  // A file of 14 or 16 bytes, from before the newer switches, has them all after a save.
  for (const std::size_t length : {14u, 16u, 19u}) {
    const std::string earlier = std::string(13, '\0') + "\x01" + std::string(length - 14, '\x01');
    sim.AddFile("data\\advancedoption.dat", earlier);
    SaveSettings(sim, Load());
    EXPECT_EQ(sim.Content("data\\advancedoption.dat"), earlier + std::string(20 - length, '\0'));
  }
}

// The age rules as a user edits them: blanks, any letter case, a byte-order mark; a line that
// is no rule is told by its number and left in the file, which is then not rewritten.
TEST_F(SettingsFilesTest, AgeRulesReadAsWrittenAndBadLinesAreToldAndKept) {
  EXPECT_EQ(Load().Ages.TempKeepHours, 24) << "without the file";
  EXPECT_EQ(ParseAgeRules("\xEF\xBB\xBF  tempkeephours = 0 \r\n").rules.TempKeepHours, 0);
  const std::string edited =
      "TempKeepHours=48\r\n\r\nTempKeepHours=-1\r\nTempKeepHours=12h\r\nKeepAll=1\r\n"
      "TempKeepHours\r\nTempKeepHours=99999999999\r\ndownloadsdays = 3660\r\n"
      "DownloadsDays=3661\r\nDownloadsDays=0\r\nDownloadsDays=+14\r\nDownloadsDays=60\r\n"
      "RecycleBinDays=-30\r\nRecycleBinDays=14\r\n";
  const ParsedAgeRules parsed = ParseAgeRules(edited);
  EXPECT_EQ(parsed.rules.TempKeepHours, 48);
  // A Downloads rule of 0 days would take what was downloaded a moment ago.
  EXPECT_EQ(parsed.rules.DownloadsDays, 60);
  EXPECT_EQ(parsed.rules.RecycleBinDays, 14);
  EXPECT_EQ(parsed.badLines, (std::vector<int>{3, 4, 5, 6, 7, 9, 10, 11, 13}));
  EXPECT_EQ(FormatAgeRules(parsed.rules),
            "TempKeepHours=48\r\nDownloadsDays=60\r\nRecycleBinDays=14\r\n");
  EXPECT_EQ(Load().Ages, AgeRules{}) << "without the file";
  EXPECT_EQ(AgeRules{}.DownloadsDays, 30);

  sim.AddFile("C:\\app\\data\\agerules.dat", edited);
  Settings s = Load();
  EXPECT_EQ(s.Ages.TempKeepHours, 48);
  EXPECT_EQ(s.AgeRuleBadLines.size(), 9u);
  SaveSettings(sim, s);
  EXPECT_EQ(sim.Content("C:\\app\\data\\agerules.dat"), edited);
  sim.AddFile("C:\\app\\data\\agerules.dat", "TempKeepHours=6\r\n");
  s = Load();
  s.Ages.TempKeepHours = 0;
  SaveSettings(sim, s);
  EXPECT_EQ(sim.Content("C:\\app\\data\\agerules.dat"),
            "TempKeepHours=0\r\nDownloadsDays=30\r\nRecycleBinDays=0\r\n");
}

TEST_F(SettingsFilesTest, LanguageRecordBytes) {
  struct Case {
    std::string bytes;
    std::string code;
    bool chosen;
  };
  const std::vector<Case> cases = {
      {"\x02"
       "De\x01",
       "De", true},
      {"\x02"
       "de\x01",
       "de", true},  // kept as stored, not corrected
      {std::string("\x02"
                   "Gr\x00",
                   4),
       "Gr", false},
      {"\x01"
       "Ex\x01",
       "E", true},  // bytes beyond the length are ignored
      {std::string("\x00"
                   "En\x01",
                   4),
       "", true},
      {"\x09"
       "Fr\x01",
       "Fr", true},  // a length above two reads as two
      {"\x02"
       "De",
       "De", false},  // short: chosen stays false
      {"\x02"
       "D",
       "D", false},
      {"\x02", "", false},
      {"", "", false},
  };
  for (const Case& c : cases) {
    LanguageChoice record = ParseLanguageRecord(c.bytes);
    EXPECT_EQ(record.LanguageCode, c.code) << c.bytes;
    EXPECT_EQ(record.LanguageChosen, c.chosen) << c.bytes;
  }
  EXPECT_EQ(FormatLanguageRecord({"De", true}), std::string("\x02"
                                                            "De\x01",
                                                            4));
  EXPECT_EQ(FormatLanguageRecord({"E", false}), std::string("\x01"
                                                            "E\0\0",
                                                            4));
  EXPECT_EQ(FormatLanguageRecord({"", true}), std::string("\0\0\0\x01", 4));
}

TEST_F(SettingsFilesTest, ReadOnlySettingsFilesAreRead) {
  sim.AddFile("data\\advancedoption.dat", std::string(14, '\x01'), attr::kReadOnly);
  sim.AddFile("data\\lang\\whichlang.dat",
              "\x02"
              "De\x01",
              attr::kReadOnly);
  sim.AddFile("data\\fileformat.dat", "*.tmp\r\n", attr::kReadOnly);
  Settings s = Load();
  Switches on{};
  std::fill(on.begin(), on.begin() + 14, true);
  EXPECT_EQ(s.AdvancedOptions, on);
  EXPECT_EQ(s.LanguageRecord.LanguageCode, "De");
  EXPECT_TRUE(s.LanguageRecord.LanguageChosen);
  EXPECT_EQ(s.FileEndingList, Lines{"*.tmp"});
  // Saving fails on them and leaves them as they are.
  s.AdvancedOptions = {};
  SaveSettings(sim, s);
  EXPECT_EQ(sim.Content("data\\advancedoption.dat"), std::string(14, '\x01'));
}

TEST_F(SettingsFilesTest, EveryFileIsHandledOnItsOwn) {
  sim.AddFile("data\\fileformat.dat", "*.tmp\r\n");
  sim.AddFile("data\\exception.dat", "a.b\r\n");
  sim.AddFile("data\\advancedoption.dat", std::string(14, '\x01'));
  sim.AddFile("data\\lang\\whichlang.dat",
              "\x02"
              "En\x01");
  sim.AddFile("data\\cleaners.dat", "Discord\r\nSteam");
  faults.FailPath(Op::kReadFile, "C:\\app\\data\\exception.dat");
  Settings s = Load();
  EXPECT_EQ(s.FileEndingList, Lines{"*.tmp"});
  EXPECT_EQ(s.CleanerList, (Lines{"Discord", "Steam"}));
  EXPECT_TRUE(s.ExceptionList.empty());
  EXPECT_TRUE(s.AdvancedOptions[13]);
  EXPECT_EQ(s.LanguageRecord.LanguageCode, "En");

  faults.ClearFailures();
  faults.FailPath(Op::kWriteFile, "C:\\app\\data\\fileformat.dat.new");
  s.FileEndingList = {"*.chk"};
  s.AdvancedOptions = {};
  s.LanguageRecord.LanguageCode = "Gr";
  s.MarkChanged(SettingsFile::kException);
  s.ExceptionList = {"x.y"};
  s.CleanerList = {"Zoom", "npm"};
  SaveSettings(faults, s);
  EXPECT_EQ(sim.Content("data\\cleaners.dat"), "Zoom\r\nnpm\r\n");
  EXPECT_EQ(sim.Content("data\\fileformat.dat"), "*.tmp\r\n");  // failed: old content whole
  EXPECT_EQ(sim.Content("data\\exception.dat"), "x.y\r\n");
  EXPECT_EQ(sim.Content("data\\advancedoption.dat"), std::string(20, '\0'));
  EXPECT_EQ(sim.Content("data\\lang\\whichlang.dat"),
            "\x02"
            "Gr\x01");
}

TEST_F(SettingsFilesTest, FailedWriteAtAnyStepLeavesTheOldFileWhole) {
  // Each step of a save fails in turn: the write of the temporary file (half written, as on a
  // full disk) and the replacing rename.
  for (Op op : {Op::kWriteFile, Op::kReplaceFile}) {
    sim.AddFile("data\\fileformat.dat", "*.tmp\r\n*.chk\r\n");
    faults.FailNthCall(op, 1);
    EXPECT_FALSE(SaveFileSafely(faults, "data\\fileformat.dat", "*.new\r\n*.other\r\n*.more\r\n"));
    EXPECT_EQ(sim.Content("data\\fileformat.dat"), "*.tmp\r\n*.chk\r\n");
    EXPECT_FALSE(sim.Exists("data\\fileformat.dat.new")) << sim.Dump("C:\\app");
    faults.ClearFailures();
  }
}

TEST_F(SettingsFilesTest, AFileThatCouldNotBeReadIsNotOverwrittenWithEmptyState) {
  sim.AddFile("data\\fileformat.dat", "*.tmp\r\n*.chk\r\n");
  sim.AddFile("data\\exception.dat", "keep.me\r\n");
  sim.SetInUse("C:\\app\\data\\fileformat.dat");  // locked by another program at start
  Settings s = Load();
  EXPECT_TRUE(s.FileEndingList.empty());
  sim.SetInUse("C:\\app\\data\\fileformat.dat", false);
  SaveSettings(sim, s);
  EXPECT_EQ(sim.Content("data\\fileformat.dat"), "*.tmp\r\n*.chk\r\n");
  EXPECT_EQ(sim.Content("data\\exception.dat"), "keep.me\r\n");

  // Once the user sets the list anew (options confirmed), it is saved.
  s.FileEndingList = {"*.gid"};
  s.MarkChanged(SettingsFile::kFileFormat);
  SaveSettings(sim, s);
  EXPECT_EQ(sim.Content("data\\fileformat.dat"), "*.gid\r\n");
}

TEST_F(SettingsFilesTest, DefaultListsAreReadInFileOrder) {
  sim.AddFile("data\\standard\\fileformat.dat", "*.tmp\r\n*.$$$\r\n");
  EXPECT_EQ(ReadListFile(sim, kStandardFileFormatPath), (Lines{"*.tmp", "*.$$$"}));
  EXPECT_TRUE(ReadListFile(sim, kStandardExceptionPath).empty());
}

// --- The same round trip on every backend.

using testing_world::SettingsContract;

TEST_P(SettingsContract, LoadSaveLoadRoundTrip) {
  World().MakeFolder(At("data\\lang"));
  World().SetCurrentDirectory(World().Root());
  Settings first;
  first.FileEndingList = {"*.tmp", "", " ~*.tmp", "\xCE\xB1.tmp"};
  first.ExceptionList = {"THUMBS.DB", "\xC3\x84rger.txt"};
  first.ExceptionListLower = ExceptionListLowerOf(first.ExceptionList);
  first.AdvancedOptions[0] = first.AdvancedOptions[7] = first.AdvancedOptions[13] = true;
  first.LanguageRecord = {"Gr", true};
  SaveSettings(Sys(), first);

  Settings second;
  LoadSettings(Sys(), second);
  EXPECT_EQ(second.FileEndingList, first.FileEndingList);
  EXPECT_EQ(second.ExceptionList, first.ExceptionList);
  EXPECT_EQ(second.ExceptionListLower, (Lines{"thumbs.db", "\xC3\x84rger.txt"}));
  EXPECT_EQ(second.AdvancedOptions, first.AdvancedOptions);
  EXPECT_EQ(second.LanguageRecord.LanguageCode, "Gr");
  EXPECT_TRUE(second.LanguageRecord.LanguageChosen);
  EXPECT_EQ(World().ContentOf(At("data\\lang\\whichlang.dat")),
            "\x02"
            "Gr\x01");
  EXPECT_FALSE(World().Exists(At("data\\fileformat.dat.new")));
}

TEST_P(SettingsContract, FailedSaveLeavesThePreviousFile) {
  World().MakeFolder(At("data"));
  World().SetCurrentDirectory(World().Root());
  // The temporary file cannot be created: a folder holds its name.
  World().MakeFile(At("data\\fileformat.dat"), "*.tmp\r\n");
  World().MakeFolder(At("data\\fileformat.dat.new"));
  EXPECT_FALSE(SaveFileSafely(Sys(), "data\\fileformat.dat", "*.chk\r\n"));
  EXPECT_EQ(World().ContentOf(At("data\\fileformat.dat")), "*.tmp\r\n");
  // The old file may not be replaced: it is read-only.
  World().MakeFile(At("data\\exception.dat"), "a.b\r\n", attr::kReadOnly);
  EXPECT_FALSE(SaveFileSafely(Sys(), "data\\exception.dat", "c.d\r\n"));
  EXPECT_EQ(World().ContentOf(At("data\\exception.dat")), "a.b\r\n");
  EXPECT_FALSE(World().Exists(At("data\\exception.dat.new")));
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SettingsContract,
    ::testing::Values(testing_world::WorldFactory(&testing_world::MakeSimWorld)));

}  // namespace
}  // namespace settings
