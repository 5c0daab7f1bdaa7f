// Trees built to trap a cleaner, each with the result it must come to, on the sim: link cycles,
// links out of the places a run empties, great depth and width, names of every kind, and
// system folders that are missing, relative or a drive root.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/utf.h"
#include "tests/cleanups/cleanups_harness.h"
#include "tests/reliability/sweep_harness.h"

namespace reliability {
namespace {

using lang::Text;
using testing_app::En;
using testing_app::RunHarness;
using testing_app::RunReport;
using Lines = std::vector<std::string>;
namespace attr = platform::attr;
namespace csidl = platform::csidl;

// One clean run of E:, with its report and the exact freed total.
RunReport CleanE(RunHarness& h, std::int64_t& freed) {
  RunReport report;
  h.Run([&](app::TFrmMain& main) {
    for (int i = 0; i < main.DCBdrive.Count(); ++i) {
      if (main.DriveLetterAt(i) == 'E') main.DCBdrive.UserChose(i);
    }
    main.RBtndrive.Click();
    h.ExpectReport(report);
    main.BtnDelete.Click();
    freed = main.CleanRun.freedBytes;
    main.Close();
  });
  return report;
}

TEST(HostileTree, ALinkCycleIsNeitherEnteredNorRemovedAndTheRunEnds) {
  RunHarness h;
  h.Patterns("*.tmp\r\n*\r\n");  // "*" would take any link it were handed
  h.sim.AddFile("E:\\a\\junk.tmp", "x");
  h.sim.AddFolderLink("E:\\a\\back", "E:\\a");  // a junction to its own parent
  h.sim.AddFolderLink("E:\\ping", "E:\\pong");  // two links leading to each other
  h.sim.AddFolderLink("E:\\pong", "E:\\ping");
  h.sim.ResetCounters();
  RunReport report = h.CleanOnce();
  EXPECT_EQ(report.lines, Lines{"E:\\a\\junk.tmp"});
  for (const char* link : {"E:\\a\\back", "E:\\ping", "E:\\pong"})
    EXPECT_TRUE(h.sim.Exists(link)) << link;
  EXPECT_EQ(h.sim.Calls(Op::kListFolder), 2u);  // E:\ and E:\a, each once
}

TEST(HostileTree, ALinkFromTheTempFolderToTheDocumentsLosesTheLinkNotTheDocuments) {
  RunHarness h;
  h.Patterns("*.doc\r\n");
  h.Switches({settings::kTempFolders});
  h.sim.SetTempFolder("C:\\Users\\me\\Temp\\");
  h.sim.AddFile("C:\\Users\\me\\Temp\\old.log", "x");
  h.sim.AddFolderLink("C:\\Users\\me\\Temp\\Documents", "C:\\Users\\me\\Documents");
  h.sim.AddFolderLink("E:\\Documents", "C:\\Users\\me\\Documents");
  h.sim.AddFile("C:\\Users\\me\\Documents\\thesis.doc", "years of work");
  RunReport report = h.CleanOnce();
  EXPECT_EQ(report.lines, Lines{En(Text::kTempFoldersReport, 1, 1)});  // the link is no file
  EXPECT_EQ(h.sim.Content("C:\\Users\\me\\Documents\\thesis.doc"), "years of work");
  EXPECT_FALSE(h.sim.Exists("C:\\Users\\me\\Temp\\Documents"));
  EXPECT_FALSE(h.sim.Exists("C:\\Users\\me\\Temp\\old.log"));
  EXPECT_TRUE(h.sim.Exists("E:\\Documents"));
}

TEST(HostileTree, AFolderThreeHundredLevelsDeepIsCleanedToTheBottom) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kTempFolders});
  std::string deep = "E:";
  std::string temp = "C:\\Temp";
  for (int i = 0; i < 300; ++i) {
    deep += "\\level" + std::to_string(i);
    temp += "\\t";
  }
  h.sim.AddFile(deep + "\\bottom.tmp", std::string(7, 'x'));
  h.sim.AddFile(deep + "\\bottom.txt", "keep");
  h.sim.AddFile(temp + "\\bottom.log", std::string(5, 'x'));
  ASSERT_GT(deep.size(), 2000u);
  RunReport report = h.CleanOnce();
  EXPECT_EQ(report.lines, (Lines{deep + "\\bottom.tmp", En(Text::kTempFoldersReport, 1, 5)}));
  EXPECT_TRUE(h.sim.Exists(deep + "\\bottom.txt"));
  EXPECT_FALSE(h.sim.Exists("C:\\Temp\\t"));  // the whole temporary tree is gone
  EXPECT_TRUE(h.sim.Exists("C:\\Temp"));
}

TEST(HostileTree, AHundredThousandFilesInOneFolderAreListedOnceAndEachDecidedOnce) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  std::uint64_t junkBytes = 0;
  for (int i = 0; i < 100000; ++i) {
    const bool junk = i % 2 == 0;
    const std::string size(static_cast<std::size_t>(i % 7), 'x');
    h.sim.AddFile("E:\\many\\f" + std::to_string(i) + (junk ? ".tmp" : ".txt"), size);
    if (junk) junkBytes += size.size();
  }
  std::int64_t freed = -1;
  h.sim.ResetCounters();
  RunReport report = CleanE(h, freed);
  EXPECT_EQ(report.lines.size(), 50000u);
  EXPECT_EQ(freed, static_cast<std::int64_t>(junkBytes));
  EXPECT_EQ(h.sim.Calls(Op::kListFolder), 2u);  // E:\ and E:\many
  EXPECT_EQ(h.sim.Calls(Op::kDeleteFile), 50000u);
  EXPECT_TRUE(h.sim.Exists("E:\\many\\f99999.txt"));
  EXPECT_FALSE(h.sim.Exists("E:\\many\\f99998.tmp"));
}

// One name from each kind of character a Windows name may hold.
std::vector<std::string> NamesOfEveryClass() {
  return {
      "\xC3\xA4rger",                      // Latin-1 letter
      "\xCE\x91\xCE\xBB\xCF\x86\xCE\xB1",  // Greek
      "\xD0\x96\xD1\x83\xD0\xBA",          // Cyrillic
      "\xE6\x96\x87\xE4\xBB\xB6",          // CJK ideographs
      "\xD9\x85\xD9\x84\xD9\x81",          // Arabic, right to left
      "e\xCC\x81\xCC\xA7",                 // combining marks
      "\xF0\x9F\x98\x80\xF0\x9F\x92\xBE",  // emoji: surrogate pairs
      "\xED\xA0\x80lone",                  // an unpaired surrogate, legal in NTFS
      "a\xE2\x80\x8D"
      "b\xE2\x80\x8B",                                     // zero-width joiner and space
      "\xEF\xBC\xA6\xEF\xBD\x95\xEF\xBD\x8C\xEF\xBD\x8C",  // full-width forms
      "\xEE\x80\x80private",                               // private use
      "no\xC2\xA0"
      "break\xC2\xAD",  // no-break space, soft hyphen
      "\xEF\xBF\xBD",   // the replacement character
      "stra\xC3\x9F"
      "e",  // sharp s: no single upper case
      "\xC7\x85"
      "ungla",                  // a title-case letter
      "\xEF\xAC\x81le",         // a ligature
      "\xC4\xB1\xC4\xB0",       // dotless i and dotted capital I
      " lead ing blanks",       // blanks inside and in front
      "#%&'()+,;=@[]^_`{}~!$",  // every punctuation a name may hold
  };
}

TEST(HostileTree, NamesOfEveryCharacterClassAreMatchedOnTheirLongNamesOnly) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  // Exceptions fold A-Z only: "\xC3\x84RGER.TMP" does not except "\xC3\xA4rger.tmp".
  h.Exceptions(
      "\xC3\x84RGER.TMP\r\nSTRA\xC3\x9F"
      "E.TMP\r\n");
  Lines expected;
  for (const std::string& name : NamesOfEveryClass()) {
    ASSERT_TRUE(platform::Utf8ToUtf16(name)) << name;
    h.sim.AddFile("E:\\" + name + ".tmp", "x");
    h.sim.AddFile("E:\\" + name + ".tmp.txt", "x");
    h.sim.AddFile("E:\\" + name + "\\inner.TMP", "x");
    if (name !=
        "stra\xC3\x9F"
        "e")
      expected.push_back("E:\\" + name + ".tmp");
  }
  for (const std::string& name : NamesOfEveryClass()) {
    expected.push_back("E:\\" + name + "\\inner.TMP");  // an exception names no folder
  }
  RunReport report = h.CleanOnce();
  std::sort(report.lines.begin(), report.lines.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(report.lines, expected);
  for (const std::string& name : NamesOfEveryClass())
    EXPECT_TRUE(h.sim.Exists("E:\\" + name + ".tmp.txt")) << name;
  EXPECT_TRUE(
      h.sim.Exists("E:\\stra\xC3\x9F"
                   "e.tmp"));
}

TEST(HostileTree, TrailingDotAndBlankNamesAreRemovedExactlyNeverTheirNamesakes) {
  // Names only \\?\ reaches: "junk." and "junk " are other files than "junk". The empty ones go
  // with the zero-byte pass; a path built for them must never reach the full namesakes.
  for (bool recycle : {false, true}) {  // recycling: the shell cannot be given such names
    RunHarness h;
    h.Patterns("");
    if (recycle) {
      h.Switches({settings::kZeroByteFiles, settings::kRecycleFound});
    } else {
      h.Switches({settings::kZeroByteFiles});
    }
    h.sim.AddFile("E:\\junk", "the namesake stays");
    h.sim.AddFile("\\\\?\\E:\\junk.", "");
    h.sim.AddFile("\\\\?\\E:\\junk ", "");
    h.sim.AddFile("\\\\?\\E:\\dir. \\junk", "");
    h.sim.AddFile("E:\\dir\\junk", "the namesake stays");
    RunReport report = h.CleanOnce();
    if (!recycle) {
      EXPECT_EQ(report.lines, (Lines{"E:\\junk.", "E:\\junk ", "E:\\dir. \\junk"}));
      EXPECT_FALSE(h.sim.Exists("E:\\junk."));
      EXPECT_FALSE(h.sim.Exists("E:\\junk "));
      EXPECT_FALSE(h.sim.Exists("E:\\dir. \\junk"));
    } else {
      // Each stays, and the report says so.
      EXPECT_EQ(report.lines.size(), 3u);
      EXPECT_TRUE(h.sim.Exists("E:\\junk.") && h.sim.Exists("E:\\junk "));
      EXPECT_TRUE(h.sim.RecycleBinPaths().empty());
    }
    EXPECT_EQ(h.sim.Content("E:\\junk"), "the namesake stays") << recycle;
    EXPECT_EQ(h.sim.Content("E:\\dir\\junk"), "the namesake stays") << recycle;
  }
}

class HostileFolders : public testing_cleanups::CleanupsTest {
 protected:
  HostileFolders() {
    File("C:\\keep.txt", 1);
    File("C:\\Dustorix\\data\\fileformat.dat", 2);
    File("C:\\Dustorix\\Favorites\\mine.url", 3);
    File("C:\\Dustorix\\History\\mine.dat", 4);
    File("C:\\Dustorix\\AppData\\Opera\\Opera7\\profile\\cookies4.dat", 5);
    File("C:\\Dustorix\\AppData\\Opera\\Opera7\\profile\\cache4\\c.bin", 6);
    File("C:\\Dustorix\\AppData\\CrashDumps\\mine.dmp", 8);
    File("C:\\Dustorix\\D3DSCache\\mine.bin", 9);
    File("C:\\CrashDumps\\root.dmp", 10);
    File("D:\\keep.txt", 7);
  }
};

TEST_F(HostileFolders, ATempFolderAtADriveRootEmptiesNothing) {
  const std::string before = sim.Dump();
  for (const char* temp : {"C:\\", "C:", "C:\\Dustorix\\..\\", "d:/", "\\", "\\\\?\\C:\\"}) {
    sim.SetTempFolder(temp);
    cleanups.TemporaryFolders();
    EXPECT_EQ(sim.Dump(), before) << temp;
  }
  EXPECT_EQ(state.freedBytes, 0);
}

TEST_F(HostileFolders, EmptyOrRelativeSpecialFoldersEmptyNothing) {
  const std::string before = sim.Dump();
  for (const char* folder : {"", "Favorites", "History", "AppData", ".", "C:", "C:History"}) {
    for (int id :
         {csidl::kFavorites, csidl::kCommonFavorites, csidl::kHistory, csidl::kInternetCache,
          csidl::kCookies, csidl::kAppData, csidl::kLocalAppData, csidl::kCommonAppData}) {
      sim.SetSpecialFolder(id, folder);
    }
    cleanups.Favourites();
    cleanups.History();
    cleanups.Cookies();
    cleanups.TemporaryInternetFiles();
    cleanups.ErrorReports();
    cleanups.ShaderCaches();
    EXPECT_EQ(sim.Dump(), before) << "\"" << folder << "\"";
  }
  EXPECT_EQ(state.freedBytes, 0);
}

TEST_F(HostileFolders, AMissingWindowsFolderEmptiesNothing) {
  File("C:\\Temp\\x.log", 8);
  File("C:\\system32\\WBEM\\Logs\\wmi.log", 9);
  File("C:\\$hf_mig$\\old.dll", 10);
  File("C:\\SoftwareDistribution\\Download\\x.cab", 11);
  File("C:\\MEMORY.DMP", 12);
  File("C:\\Minidump\\m.dmp", 13);
  const std::string before = sim.Dump();
  sim.SetWindowsFolder("");
  cleanups.OldUpdateFiles();
  cleanups.SystemLog();
  cleanups.ErrorReports();
  EXPECT_EQ(sim.Dump(), before);
}

}  // namespace
}  // namespace reliability
