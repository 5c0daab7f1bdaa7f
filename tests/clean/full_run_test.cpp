// A whole clean run with every clean-up switched on, on a sim machine that has something for each.
#include <gtest/gtest.h>

#include "tests/clean/run_harness.h"

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
  sim.SetSpecialFolder(0x08, "C:\\Users\\me\\Recent");
  sim.AddFile("C:\\Users\\me\\Recent\\item.dat", std::string(100, 'x'));
  sim.SetRegistryValue(RegistryRoot::kCurrentUser, kRunMru, "MRUList",
                       RegistryValue::FromText("a"));
  sim.AddFile("E:\\old.txt", "x");
  sim.MoveToRecycleBin("E:\\old.txt");
}

TEST(FullRun, EverySwitchOnLeavesTheMachineCleanAndReportsIt) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kTempFolders, settings::kRecentDocuments, settings::kEmptyRecycleBin,
              settings::kTempInternetFiles, settings::kCookies, settings::kFavourites,
              settings::kHistory, settings::kOldUpdateFiles, settings::kSystemLog,
              settings::kUnusedDlls, settings::kRunList});
  SeedMachine(h.sim);
  RunReport report = h.CleanOnce('E');

  EXPECT_EQ(report.lines,
            (Lines{"E:\\junk.tmp", En(Text::kTempFoldersReport, 3, 5500),
                   En(Text::kRecentDocumentsReport, 1, 100), En(Text::kEmptyRecycleBinReport),
                   En(Text::kBrowserCacheRemoved), En(Text::kTempInternetFilesReport, 3, 220),
                   En(Text::kBrowserCookiesRemoved), En(Text::kCookiesReport, 3, 240),
                   En(Text::kFavouritesReport, 2, 200), En(Text::kHistoryReport, 1, 100),
                   En(Text::kOldUpdateFilesReport, 2, 1500), En(Text::kSystemLogReport, 1, 900),
                   "C:\\Program Files\\Old\\unused.dll", En(Text::kRunListReport)}));
  // Scan 1000; temp 2000+3000+500; recent 100 (measured, not deleted); cache 100+50+70;
  // cookies 100+60+80; favourites 100+100; history 100; update 700+800; log 900; DLL 4000.
  const std::int64_t freed = 1000 + 5500 + 100 + 220 + 240 + 200 + 100 + 1500 + 900 + 4000;
  EXPECT_EQ(report.value, std::to_string(freed / 1024) + En(Text::kFreedUnit));

  for (const char* gone :
       {"E:\\junk.tmp", "C:\\Users\\me\\Temp\\a.log", "C:\\Users\\me\\Temp\\sub",
        "C:\\Windows\\Temp\\w.log", "C:\\Windows\\Windows Update Setup-Dateien",
        "C:\\Windows\\$NtUninstallKB1$", "C:\\Windows\\system32\\WBEM\\Logs\\wmi.log",
        "C:\\Users\\me\\Favorites\\item.dat", "C:\\Users\\All\\Favorites\\item.dat",
        "C:\\Users\\me\\INetCache\\item.dat", "C:\\Users\\me\\Cookies\\item.dat",
        "C:\\Users\\me\\History\\item.dat", "C:\\Program Files\\Old\\unused.dll",
        "C:\\Users\\me\\AppData\\Opera\\Opera7\\profile\\cache4\\c.bin",
        "C:\\Users\\me\\AppData\\Opera\\Opera7\\profile\\cookies4.dat",
        "C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data",
        "C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Network\\Cookies"}) {
    EXPECT_FALSE(h.sim.Exists(gone)) << gone;
  }
  for (const char* kept :
       {"C:\\Users\\me\\Temp", "C:\\Windows\\system32\\WBEM\\Logs", "C:\\Users\\me\\History",
        "C:\\Windows\\system32\\kernel.dll", "C:\\Users\\me\\Recent\\item.dat",
        "C:\\Users\\me\\AppData\\item.dat", "C:\\Users\\me\\Local\\item.dat",
        "C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Preferences"}) {
    EXPECT_TRUE(h.sim.Exists(kept)) << kept;
  }
  EXPECT_TRUE(h.sim.RecycleBinPaths().empty());
  EXPECT_TRUE(h.sim.RegistryKeyExists(RegistryRoot::kCurrentUser, kRunMru));
  EXPECT_TRUE(h.sim.RegistryValueNamesOf(RegistryRoot::kCurrentUser, kRunMru).empty());
  EXPECT_EQ(h.sim.RegistryValueNamesOf(RegistryRoot::kLocalMachine, kDlls),
            Lines{"C:\\Windows\\system32\\kernel.dll"});
}

}  // namespace
}  // namespace testing_app
