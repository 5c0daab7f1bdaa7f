// A whole clean run with every clean-up switched on, on a sim machine that has something for each.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text_lines.h"
#include "tests/clean/run_harness.h"
#include "tests/platform/bin_record.h"

namespace testing_app {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;
using platform::RegistryValue;

void SeedMachine(platform::sim::SimSystem& sim) {
  sim.AddFile("E:\\junk.tmp", std::string(1000, 'x'));
  sim.SetTempFolder("C:\\Users\\me\\Temp\\");
  sim.AddFile("C:\\Users\\me\\Temp\\a.log", std::string(2000, 'x'));
  sim.AddFile("C:\\Users\\me\\Temp\\sub\\b.log", std::string(3000, 'x'));
  SeedCleanupPlaces(sim);
  sim.SetSpecialFolder(0x08, "C:\\Users\\me\\AppData\\Microsoft\\Windows\\Recent");
  sim.AddFile("C:\\Users\\me\\AppData\\Microsoft\\Windows\\Recent\\item.lnk",
              std::string(100, 'x'));
  sim.SetRegistryValue(RegistryRoot::kCurrentUser, kRunMru, "MRUList",
                       RegistryValue::FromText("a"));
  sim.AddFile("E:\\old.txt", "x");
  sim.MoveToRecycleBin("E:\\old.txt");
}

// Everything a clean run may change, to compare two moments of the machine.
std::string Snapshot(platform::sim::SimSystem& sim) {
  std::string all = sim.Dump();
  for (const std::string& line : platform::SplitTextLines(sim.Dump())) {
    const std::size_t size = line.rfind(" (");
    if (size != std::string::npos) all += sim.Content(line.substr(0, size)).value_or("?") + '\n';
  }
  for (const auto& [root, key] : {std::pair{RegistryRoot::kCurrentUser, kRunMru},
                                  std::pair{RegistryRoot::kLocalMachine, kDlls}}) {
    for (const std::string& name : sim.RegistryValueNamesOf(root, key))
      all += name + '=' + sim.RegistryValueOf(root, key, name)->data + '\n';
  }
  for (const Lines& list : {sim.RecycleBinPaths(), sim.UrlCacheUrls(), sim.RecentDocuments()}) {
    for (const std::string& line : list)
      all += line + '\n';
  }
  return all;
}

// A report's lines with each step's name left out: what an analysis and a run report alike.
Lines Figures(const Lines& lines) {
  Lines figures;
  for (const std::string& line : lines) {
    if (line.rfind("En:", 0) != 0) {
      figures.push_back(line);  // a file
      continue;
    }
    const std::size_t cut = line.find(": ");
    figures.push_back(cut == std::string::npos ? "(a step)" : line.substr(cut + 2));
  }
  return figures;
}

TEST(FullRun, EverySwitchOnLeavesTheMachineCleanAndReportsIt) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kTempFolders, settings::kRecentDocuments, settings::kEmptyRecycleBin,
              settings::kTempInternetFiles, settings::kCookies, settings::kFavourites,
              settings::kHistory, settings::kOldUpdateFiles, settings::kSystemLog,
              settings::kErrorReports, settings::kShaderCaches, settings::kUnusedDlls,
              settings::kRunList});
  SeedMachine(h.sim);
  RunReport report = h.CleanOnce('E');

  EXPECT_EQ(report.lines,
            (Lines{"E:\\junk.tmp", En(Text::kTempFoldersReport, 3, 5500),
                   En(Text::kRecentDocumentsReport, 1, 100), En(Text::kEmptyRecycleBinReport, 1, 1),
                   En(Text::kBrowserCacheRemoved), En(Text::kTempInternetFilesReport, 3, 220),
                   En(Text::kBrowserCookiesRemoved), En(Text::kCookiesReport, 3, 240),
                   En(Text::kFavouritesReport, 2, 200), En(Text::kHistoryReport, 1, 100),
                   En(Text::kOldUpdateFilesReport, 3, 2100), En(Text::kSystemLogReport, 1, 900),
                   En(Text::kErrorReportsReport, 6, 7200), En(Text::kShaderCachesReport, 2, 1700),
                   "C:\\Program Files\\Old\\unused.dll", En(Text::kRunListReport)}));
  // Scan 1000; temp 2000+3000+500; recent 100 (the shell's doing); recycle bin 1;
  // cache 100+50+70; cookies 100+60+80; favourites 100+100; history 100; update 700+800+600;
  // log 900; reports and dumps 200+300+400+5000+600+700; shader caches 800+900; DLL 4000.
  const std::int64_t freed =
      1000 + 5500 + 100 + 1 + 220 + 240 + 200 + 100 + 2100 + 900 + 7200 + 1700 + 4000;
  EXPECT_EQ(report.value, std::to_string(freed / 1024) + En(Text::kFreedUnit));

  for (const char* gone :
       {"E:\\junk.tmp", "C:\\Users\\me\\Temp\\a.log", "C:\\Users\\me\\Temp\\sub",
        "C:\\Windows\\Temp\\w.log", "C:\\Windows\\Windows Update Setup-Dateien",
        "C:\\Windows\\$NtUninstallKB1$", "C:\\Windows\\system32\\WBEM\\Logs\\wmi.log",
        "C:\\Users\\me\\Favorites\\item.dat", "C:\\Users\\All\\Favorites\\item.dat",
        "C:\\Users\\me\\INetCache\\item.dat", "C:\\Users\\me\\Cookies\\item.dat",
        "C:\\Users\\me\\History\\item.dat", "C:\\Program Files\\Old\\unused.dll",
        "C:\\Users\\me\\AppData\\Microsoft\\Windows\\Recent\\item.lnk",
        "C:\\Users\\me\\AppData\\Opera\\Opera7\\profile\\cache4\\c.bin",
        "C:\\Users\\me\\AppData\\Opera\\Opera7\\profile\\cookies4.dat",
        "C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data",
        "C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Network\\Cookies"}) {
    EXPECT_FALSE(h.sim.Exists(gone)) << gone;
  }
  for (const char* kept :
       {"C:\\Users\\me\\Temp", "C:\\Windows\\system32\\WBEM\\Logs", "C:\\Users\\me\\History",
        "C:\\Windows\\system32\\kernel.dll", "C:\\Users\\me\\AppData\\item.dat",
        "C:\\Users\\me\\Local\\item.dat",
        "C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Preferences"}) {
    EXPECT_TRUE(h.sim.Exists(kept)) << kept;
  }
  EXPECT_TRUE(h.sim.RecycleBinPaths().empty());
  EXPECT_TRUE(h.sim.HasRegistryKey(RegistryRoot::kCurrentUser, kRunMru));
  EXPECT_TRUE(h.sim.RegistryValueNamesOf(RegistryRoot::kCurrentUser, kRunMru).empty());
  EXPECT_EQ(h.sim.RegistryValueNamesOf(RegistryRoot::kLocalMachine, kDlls),
            Lines{"C:\\Windows\\system32\\kernel.dll"});
}

// What an analysis announces is what the run then does: it changes nothing, lists the files the
// run then removes, tells each step's files and size as the run then does, and finds the size
// the run then frees. The analysis's review, left without cleaning up, removes nothing.
TEST(FullRun, AnAnalysisChangesNothingAndTheRunThenDoesWhatItAnnounced) {
  for (const bool review : {false, true}) {
    RunHarness h;
    h.Patterns("*.tmp\r\n*.bak\r\n");
    h.Switches({settings::kTempFolders, settings::kRecentDocuments, settings::kEmptyRecycleBin,
                settings::kTempInternetFiles, settings::kCookies, settings::kFavourites,
                settings::kHistory, settings::kZeroByteFiles, settings::kOldUpdateFiles,
                settings::kSystemLog, settings::kErrorReports, settings::kShaderCaches,
                settings::kUnusedDlls, settings::kRunList, settings::kDownloads,
                review ? settings::kReviewFirst : settings::kRecycleFound});
    SeedMachine(h.sim);
    // A download of long ago goes, today's stays.
    h.sim.SetSpecialFolder(platform::csidl::kDownloads, "C:\\Users\\me\\Downloads");
    h.sim.AddFile("C:\\Users\\me\\Downloads\\old\\setup.exe", std::string(70, 'x'));
    h.sim.AddFile("C:\\Users\\me\\Downloads\\today.pdf", std::string(80, 'x'));
    h.sim.SetWriteTime("C:\\Users\\me\\Downloads\\today.pdf", h.sim.CurrentTime());
    // Found twice (a pattern, then the zero-byte pass); in the temporary folder; behind a link.
    h.sim.AddFile("E:\\sub\\empty.bak", "");
    h.sim.AddFile("C:\\Users\\me\\Temp\\found.tmp", std::string(300, 'x'));
    h.sim.AddFolderLink("C:\\Users\\me\\Temp\\docs", "E:\\sub");
    h.sim.AddFile("E:\\cache.tmp\\inner.dat", std::string(40, 'x'));
    h.sim.AddFile("E:\\locked.tmp", "x", platform::attr::kReadOnly);
    h.sim.AddRecentDocument("C:\\Users\\me\\report.doc");
    // The bin by the dates it records: an old file and an old folder go, a young one stays.
    h.sim.AddFile("data\\agerules.dat", "RecycleBinDays=14\r\n");
    const std::string bin = std::string("C:\\$Recycle.Bin\\") + platform::sim::SimSystem::kUserSid;
    const std::uint64_t now = h.sim.CurrentTime();
    for (const auto& [rest, days] : {std::pair{"OLD.doc", 20}, std::pair{"NEW.doc", 2}}) {
      h.sim.AddFile(bin + "\\$I" + rest,
                    testing_world::BinRecord(now - days * platform::sim::SimSystem::kDay, 80));
      h.sim.AddFile(bin + "\\$R" + rest, std::string(80, 'r'));
    }
    h.sim.AddFile(bin + "\\$IDIR",
                  testing_world::BinRecord(now - 15 * platform::sim::SimSystem::kDay, 9));
    h.sim.AddFile(bin + "\\$RDIR\\in.txt", std::string(9, 'r'));
    h.sim.AddUrlCacheEntry("https://example.org/other");
    RunReport analysis, run;
    std::string before, after;
    clean::RunState announced;
    h.Run([&](app::TFrmMain& main) {
      main.RBtnalldrive.Click();
      before = Snapshot(h.sim);
      h.ExpectReview([](clean::TFrmmarkfile& review) { review.Close(); });
      h.ExpectReport(analysis);
      main.BtnAnalyze.Click();
      announced = main.CleanRun;
      after = Snapshot(h.sim);
      if (review) h.ExpectReview(MarkAllAndGoOn());
      h.ExpectReport(run);
      main.BtnDelete.Click();
      main.Close();
    });
    EXPECT_EQ(after, before) << review;
    EXPECT_EQ(analysis.caption, En(Text::kAnalysisTitle));
    EXPECT_EQ(analysis.headline, En(Text::kAnalysisHeadline));
    // The bin's share told apart: it frees nothing yet.
    EXPECT_EQ(review, announced.recycledFiles == 0);
    EXPECT_EQ(analysis.value, clean::FreedTotal(false, announced, EnTexts()));
    if (review) {
      // A reviewed run reports by category, each with the paths of its files: every file the
      // analysis named is among them.
      for (const std::string& line : analysis.lines) {
        if (line.rfind("En:", 0) == 0) continue;
        EXPECT_NE(std::find(run.lines.begin(), run.lines.end(), line), run.lines.end()) << line;
      }
    } else {
      EXPECT_EQ(Figures(analysis.lines), Figures(run.lines));
    }
    EXPECT_EQ(run.value, clean::FreedTotal(true, announced, EnTexts())) << review;
    EXPECT_GT(analysis.lines.size(), 12u);
    // The browsers' lines tell what would go; the run's what went.
    for (const Text line : {Text::kBrowserCacheWouldGo, Text::kBrowserCookiesWouldGo}) {
      EXPECT_NE(std::find(analysis.lines.begin(), analysis.lines.end(), En(line)),
                analysis.lines.end());
    }
    EXPECT_EQ(analysis.lines.front(), "C:\\Users\\me\\Temp\\found.tmp");
    EXPECT_TRUE(h.sim.Exists("E:\\locked.tmp"));
    EXPECT_TRUE(h.sim.Exists("E:\\sub"));  // behind the link in the temporary folder
    // A run that recycles its finds leaves the bin alone.
    EXPECT_EQ(h.sim.Exists(bin + "\\$ROLD.doc"), !review);
    EXPECT_EQ(h.sim.Exists(bin + "\\$IDIR"), !review);
    EXPECT_TRUE(h.sim.Exists(bin + "\\$INEW.doc"));
    EXPECT_FALSE(h.sim.Exists("C:\\Users\\me\\Downloads\\old\\setup.exe"));
    EXPECT_TRUE(h.sim.Exists("C:\\Users\\me\\Downloads\\today.pdf"));
  }
}

}  // namespace
}  // namespace testing_app
