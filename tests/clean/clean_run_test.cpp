#include <gtest/gtest.h>

#include "clean/scan.h"
#include "settings/option_form.h"
#include "tests/clean/run_harness.h"
#include "tests/clean/test_run.h"
#include "tests/platform/pe_image.h"

namespace testing_app {
namespace {

using Lines = std::vector<std::string>;
using platform::DriveType;
using platform::sim::Op;
namespace attr = platform::attr;

TEST(CleanRun, TakesMatchingFilesButNeverReadOnlySystemOrExcepted) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  // A name, in any case of any script; a pattern; a folder with its drive; a folder part without
  // a drive, which names nothing.
  h.Exceptions(
      "KEEP.TMP\r\n\xC3\x84rger.tmp\r\n\xCE\x91\xCE\xA1\xCE\xA7\xCE\x95\xCE\x99\xCE\x9F.tmp\r\n"
      "*.sav.tmp\r\ne:\\games\\\r\nsub\\x.tmp\r\n");
  h.sim.AddFile("E:\\a.tmp", "12345");
  h.sim.AddFile("E:\\hidden.tmp", "1", attr::kHidden);
  h.sim.AddFile("E:\\readonly.tmp", "1", attr::kReadOnly);
  h.sim.AddFile("E:\\system.tmp", "1", attr::kSystem | attr::kHidden);
  h.sim.AddFile("E:\\keep.tmp", "1");
  h.sim.AddFile("E:\\Keep.Tmp", "1");
  h.sim.AddFile("E:\\\xC3\xA4RGER.TMP", "1");  // äRGER.TMP is Ärger.tmp to Windows
  h.sim.AddFile("E:\\\xCE\xB1\xCF\x81\xCF\x87\xCE\xB5\xCE\xB9\xCE\xBF.tmp", "1");  // αρχειο.tmp
  h.sim.AddFile("E:\\level1.sav.tmp", "1");
  h.sim.AddFile("E:\\Games\\x.tmp", "1");
  h.sim.AddFile("E:\\Games\\deep\\y.tmp", "1");
  h.sim.AddFile("E:\\Gamesx\\z.tmp", "1");
  h.sim.AddFile("E:\\sub\\x.tmp", "1");
  h.sim.AddFile("E:\\document.tmp123", "1");  // long names only
  h.sim.AddFile("E:\\notes.txt", "1");

  h.sim.ResetCounters();
  RunReport report = h.CleanOnce();
  EXPECT_EQ(report.lines,
            (Lines{"E:\\a.tmp", "E:\\hidden.tmp", "E:\\Gamesx\\z.tmp", "E:\\sub\\x.tmp"}));
  EXPECT_EQ(report.value, "0" + En(Text::kFreedUnit));
  for (const char* kept : {"E:\\readonly.tmp", "E:\\system.tmp", "E:\\keep.tmp", "E:\\Keep.Tmp",
                           "E:\\\xC3\xA4RGER.TMP", "E:\\level1.sav.tmp", "E:\\Games\\x.tmp",
                           "E:\\Games\\deep\\y.tmp", "E:\\document.tmp123", "E:\\notes.txt"}) {
    EXPECT_TRUE(h.sim.Exists(kept)) << kept;
  }
  // The excepted folder is not even looked into: E:\, Gamesx and sub are listed, nothing else.
  EXPECT_EQ(h.sim.Calls(Op::kListFolder), 3u);
}

TEST(CleanRun, EachFolderIsListedOnceAndItsFilesGoBeforeItsSubfolders) {
  RunHarness h;
  h.Patterns("*.tmp\r\n*.chk\r\n");
  h.Switches({settings::kZeroByteFiles});
  h.sim.AddFile("E:\\sub\\deep\\d.tmp", "1");
  h.sim.AddFile("E:\\b.chk", "1");
  h.sim.AddFile("E:\\sub\\s.tmp", "1");
  h.sim.AddFile("E:\\a.tmp", "1");
  h.sim.AddFile("E:\\empty.txt", "");
  h.sim.AddFile("E:\\other\\o.chk", "1");
  h.sim.ResetCounters();
  RunReport report = h.CleanOnce();
  // Pattern by pattern, then the empty files, then each subfolder whole before the next.
  EXPECT_EQ(report.lines, (Lines{"E:\\a.tmp", "E:\\b.chk", "E:\\empty.txt", "E:\\sub\\s.tmp",
                                 "E:\\sub\\deep\\d.tmp", "E:\\other\\o.chk"}));
  EXPECT_EQ(h.sim.Calls(Op::kListFolder), 4u);  // E:\, sub, deep, other: one listing each
  EXPECT_EQ(h.sim.Calls(Op::kLookUp), 0u);      // sizes come from the listing
}

TEST(CleanRun, ZeroBytePassAlone) {
  RunHarness h;
  h.Patterns("");
  h.Switches({settings::kZeroByteFiles});
  h.Exceptions("__init__.py\r\n");
  h.sim.AddFile("E:\\empty.log", "");
  h.sim.AddFile("E:\\full.log", "x");
  h.sim.AddFile("E:\\pkg\\__init__.py", "");
  h.sim.AddFile("E:\\ro.log", "", attr::kReadOnly);
  h.sim.AddFolder("E:\\emptyfolder");
  RunReport report = h.CleanOnce();
  EXPECT_EQ(report.lines, Lines{"E:\\empty.log"});
  EXPECT_TRUE(h.sim.Exists("E:\\emptyfolder"));
  EXPECT_TRUE(h.sim.Exists("E:\\pkg\\__init__.py"));
}

TEST(CleanRun, NoPatternsAndNoZeroBytePassMeansNoScan) {
  RunHarness h;
  h.Patterns("");
  h.sim.AddFile("E:\\a.tmp", "");
  h.sim.ResetCounters();
  RunReport report = h.CleanOnce();
  EXPECT_TRUE(report.shown);
  EXPECT_EQ(report.value, "0" + En(Text::kFreedUnit));
  EXPECT_EQ(h.sim.Calls(Op::kListFolder), 0u);
}

// A folder named like junk may hold anything: it is no find for any hook, only entered.
// A folder named like junk may hold anything: it is no find for any hook, only entered.
TEST(CleanRun, AFolderWhoseNameMatchesIsNoFind) {
  for (const settings::Switch mode :
       {settings::kZeroByteFiles, settings::kRecycleFound, settings::kReviewFirst}) {
    RunHarness h;
    h.Patterns("*.tmp\r\n");
    h.Switches({mode});
    h.sim.AddFile("E:\\cache.tmp\\inner.txt", "12345");
    // Nothing found: in review mode no review shows (none is queued), nothing goes.
    RunReport report = h.CleanOnce('E');
    EXPECT_TRUE(report.lines.empty());
    EXPECT_TRUE(h.sim.Exists("E:\\cache.tmp\\inner.txt"));
    EXPECT_TRUE(h.sim.RecycleBinPaths().empty());
  }
}

TEST(CleanRun, RecycleHookKeepsFilesRestorable) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kRecycleFound});
  h.sim.AddFile("E:\\a.tmp", std::string(2048, 'x'));
  RunReport report = h.CleanOnce();
  EXPECT_EQ(report.lines, Lines{"E:\\a.tmp"});
  // In the bin it still takes its space: told apart from what was freed.
  EXPECT_EQ(report.value, "0" + En(Text::kFreedUnit) + "\n" + En(Text::kRecycledApart));
  EXPECT_EQ(h.sim.RecycleBinPaths(), Lines{"E:\\a.tmp"});
}

// Finds go to the bin in batches; the report lists exactly the ones that went, in the order
// they were found, and a stop between two batches keeps the later ones.
TEST(CleanRun, RecyclingInBatchesReportsWhatWentAndStopsBetweenBatches) {
  const int files = static_cast<int>(clean::kBatchSize) * 2 + 10;
  enum class Mode { kScan, kStopped, kReviewed };
  for (const Mode mode : {Mode::kScan, Mode::kStopped, Mode::kReviewed}) {
    RunHarness h;
    h.Patterns("*.tmp\r\n");
    if (mode == Mode::kReviewed) {
      h.Switches({settings::kRecycleFound, settings::kReviewFirst});
    } else {
      h.Switches({settings::kRecycleFound});
    }
    Lines expected;
    Lines went;
    for (int i = 0; i < files; ++i) {
      const std::string path = "E:\\f" + std::to_string(1000 + i) + ".tmp";
      h.sim.AddFile(path, "x");
      if (i == 5) h.sim.SetInUse(path);
      const bool kept = mode == Mode::kStopped && i >= static_cast<int>(clean::kBatchSize);
      if (i != 5 && !kept) went.push_back(path);
    }
    // The one held open stays, and its batch's report says so first; a reviewed run then names
    // its category.
    expected.push_back(En(Text::kRecycleRefused));
    if (mode == Mode::kReviewed) {
      expected.push_back(En(Text::kFoundFilesCategory, went.size(), went.size()));
    }
    expected.insert(expected.end(), went.begin(), went.end());
    RunReport report = h.CleanOnce('E', mode == Mode::kReviewed ? MarkAllAndGoOn() : nullptr,
                                   [&](app::TFrmMain& main) {
                                     if (mode != Mode::kStopped) return;
                                     // The first message check after the first batch went is the
                                     // stop.
                                     h.ui.onProcessMessages = [&] {
                                       if (!h.sim.RecycleBinPaths().empty()) main.BBtnstop.Click();
                                     };
                                   });
    EXPECT_EQ(report.lines, expected) << static_cast<int>(mode);
    EXPECT_EQ(h.sim.RecycleBinPaths(), went) << static_cast<int>(mode);
  }
}

// Wine's drive of the host's whole file system is never searched, not even with all drives; a
// file the bin cannot take (no bin on its drive, larger than its bin takes, a path the shell
// cannot be given) stays where it is, and the report says why.
TEST(CleanRun, TheHostsFileSystemIsNeverSearchedAndWhatTheBinCannotTakeStays) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kRecycleFound});
  h.sim.AddDrive('Z', DriveType::kFixed, "Host");
  h.sim.SetHostRootDrive('Z');
  h.sim.AddFile("Z:\\home\\user\\thesis-backup.tmp", "thesis");
  h.sim.AddDrive('F', DriveType::kFixed, "Stick");
  h.sim.SetRecycleBin('F', false);
  h.sim.AddFile("F:\\nobin.tmp", "x");
  h.sim.SetRecycleBin('E', true, 10);
  h.sim.AddFile("E:\\big.tmp", std::string(20, 'b'));
  h.sim.AddFile("E:\\small.tmp", "s");
  const std::string deep = "E:\\" + std::string(150, 'd') + "\\" + std::string(150, 'e') + ".tmp";
  h.sim.AddFile(deep, "deep");
  const RunReport report = h.CleanOnce(0);
  for (const std::string& kept : {std::string("Z:\\home\\user\\thesis-backup.tmp"),
                                  std::string("F:\\nobin.tmp"), std::string("E:\\big.tmp"), deep}) {
    EXPECT_TRUE(h.sim.Exists(kept)) << kept;
  }
  EXPECT_EQ(h.sim.RecycleBinPaths(), Lines{"E:\\small.tmp"});
  // Z: left unsearched, then drive by drive: E:'s batch (the large file, the deep one), F:.
  EXPECT_EQ(report.lines,
            (Lines{En(Text::kHostRootDrive), En(Text::kRecycleRefused), "E:\\small.tmp",
                   En(Text::kRecyclePathTooLong), En(Text::kRecycleRefused)}));
  EXPECT_EQ(report.value.find('0'), 0u) << "one byte went: " << report.value;
}

TEST(CleanRun, LinksAreNeitherEnteredNorRemoved) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.sim.AddFile("C:\\Users\\me\\Documents\\thesis.tmp", "precious");
  h.sim.AddFolderLink("E:\\docs", "C:\\Users\\me\\Documents");
  h.sim.AddFolderLink("E:\\link.tmp", "C:\\Users\\me\\Documents");  // matches, is a link
  h.sim.AddFolderLink("E:\\loop", "E:\\");                          // a cycle
  h.sim.AddFile("E:\\real.tmp", "x");
  for (bool recycle : {false, true}) {
    if (recycle) h.Switches({settings::kRecycleFound});
    RunReport report = h.CleanOnce();
    EXPECT_EQ(report.lines, recycle ? Lines{} : Lines{"E:\\real.tmp"});
    EXPECT_TRUE(h.sim.Exists("C:\\Users\\me\\Documents\\thesis.tmp"));
    EXPECT_TRUE(h.sim.Exists("E:\\link.tmp"));
    EXPECT_TRUE(h.sim.Exists("E:\\docs"));
  }
}

TEST(CleanRun, PatternsWithFolderPartsAreIgnored) {
  RunHarness h;
  h.Patterns("..\\*.tmp\r\nsub\\*.tmp\r\nC:*.tmp\r\n/x.tmp\r\n");
  h.sim.AddFile("E:\\sub\\a.tmp", "x");
  h.sim.AddFile("E:\\a.tmp", "x");
  RunReport report = h.CleanOnce();
  EXPECT_TRUE(report.lines.empty());
}

TEST(CleanRun, FreedSizeIsSixtyFourBitAndRoundedDown) {
  struct Case {
    std::uint64_t size;
    std::string value;
  };
  for (const Case& c : std::vector<Case>{{1023, "0" + En(Text::kFreedUnit)},
                                         {1024, "1" + En(Text::kFreedUnit)},
                                         {2047, "1" + En(Text::kFreedUnit)},
                                         {5ull << 30, "5242880" + En(Text::kFreedUnit)}}) {
    RunHarness h;
    h.Patterns("*.iso\r\n");
    h.sim.AddFileOfSize("E:\\big.iso", c.size);
    EXPECT_EQ(h.CleanOnce().value, c.value) << c.size;
  }
}

TEST(CleanRun, AllDrivesTakesFixedRemoteAndRootlessButNotRemovable) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.sim.AddDrive('F', DriveType::kRemovable);
  h.sim.AddDrive('G', DriveType::kRemote);
  h.sim.AddDrive('H', DriveType::kCdRom);
  h.sim.AddDrive('I', DriveType::kRamDisk);
  h.sim.AddDrive('J', DriveType::kNoRootDir);
  h.sim.AddDrive('K', DriveType::kUnknown);
  for (char letter : std::string("CEFGHIJK")) {
    h.sim.AddFile(std::string{letter, ':', '\\', 'x', '.', 't', 'm', 'p'}, "1");
  }
  RunReport all = h.CleanOnce(0);
  EXPECT_EQ(all.lines, (Lines{"C:\\x.tmp", "E:\\x.tmp", "G:\\x.tmp", "J:\\x.tmp"}));
  // A removable drive is scanned when it is the one chosen.
  EXPECT_EQ(h.CleanOnce('F').lines, Lines{"F:\\x.tmp"});
}

TEST(CleanRun, AtStartTheDriveInTheBoxIsTheOneARunTakes) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.sim.AddFile("C:\\x.tmp", "1");
  h.sim.AddFile("E:\\x.tmp", "1");
  RunReport first, second;
  h.Run([&](app::TFrmMain& main) {
    EXPECT_EQ(main.DCBdrive.Text(), "c: [System]");
    h.ExpectReport(first);
    main.Lschen1.Click();
    // Choosing all drives and then a drive in the box: that drive again.
    main.RBtnalldrive.Click();
    EXPECT_FALSE(main.RBtndrive.Checked());
    main.DCBdrive.UserChose(2);
    EXPECT_TRUE(main.RBtndrive.Checked());
    EXPECT_FALSE(main.RBtnalldrive.Checked());
    h.ExpectReport(second);
    main.Lschen1.Click();
    main.Close();
  });
  EXPECT_EQ(first.lines, Lines{"C:\\x.tmp"});
  EXPECT_EQ(second.lines, Lines{"E:\\x.tmp"});
}

// --- Stop

// Presses the stop button after the n-th time the run lets messages through.
void StopAfter(RunHarness& h, app::TFrmMain& main, int n) {
  auto count = std::make_shared<int>(0);
  h.ui.onProcessMessages = [&main, n, count] {
    if (++*count == n) main.BBtnstop.Click();
  };
}

TEST(Stop, DuringTheScanWithoutReview) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kTempFolders});  // a special step that must not run after the stop
  for (int i = 0; i < 5; ++i)
    h.sim.AddFile("E:\\f" + std::to_string(i) + ".tmp", "x");
  RunReport report = h.CleanOnce('E', nullptr, [&](app::TFrmMain& main) { StopAfter(h, main, 2); });
  // The n-th entry ends it, and no step reports.
  EXPECT_EQ(report.lines, (Lines{"E:\\f0.tmp", "E:\\f1.tmp"}));
  EXPECT_EQ(report.headline, En(Text::kStoppedHeadline));
  EXPECT_EQ(report.headlineColor, ui::Color::Rgb(255, 0, 0));
  EXPECT_TRUE(h.sim.Exists("E:\\f2.tmp"));
}

// A stopped analysis says that it was stopped, in its review and its report, and its lines are
// what it found until then.
TEST(Stop, AStoppedAnalysisSaysSo) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  for (int i = 0; i < 5; ++i)
    h.sim.AddFile("E:\\f" + std::to_string(i) + ".tmp", "x");
  RunReport report;
  h.Run([&](app::TFrmMain& main) {
    for (int i = 0; i < main.DCBdrive.Count(); ++i) {
      if (main.DriveLetterAt(i) == 'E') main.DCBdrive.UserChose(i);
    }
    main.RBtndrive.Click();
    StopAfter(h, main, 2);
    h.ExpectReview([](clean::TFrmmarkfile& review) {
      EXPECT_EQ(review.Lblmarkfile.Caption(), En(Text::kAnalysisStoppedHeadline));
      review.Btncancel.Click();
    });
    h.ExpectReport(report);
    main.BtnAnalyze.Click();
    main.Close();
  });
  EXPECT_EQ(report.headline, En(Text::kAnalysisStoppedHeadline));
  EXPECT_EQ(report.lines, (Lines{"E:\\f0.tmp", "E:\\f1.tmp"}));
  EXPECT_TRUE(h.sim.Exists("E:\\f0.tmp"));
}

TEST(Stop, DuringASpecialStepSkipsTheLaterOnes) {
  RunHarness h;
  h.Patterns("");
  h.Switches({settings::kTempFolders, settings::kRecentDocuments, settings::kEmptyRecycleBin,
              settings::kRunList});
  RunReport report = h.CleanOnce('E', nullptr, [&](app::TFrmMain& main) {
    h.ui.onProcessMessages = [&main] {
      if (main.Sbmain.PanelText(0) == En(Text::kRecentDocumentsStatus)) main.BBtnstop.Click();
    };
  });
  EXPECT_EQ(report.lines,
            (Lines{En(Text::kTempFoldersReport, 0, 0), En(Text::kRecentDocumentsReport, 0, 0)}));
}

TEST(Stop, EscapeOnTheMainWindowPressesStopOnlyDuringARun) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.sim.AddFile("E:\\a.tmp", "x");
  h.sim.AddFile("E:\\b.tmp", "x");
  RunReport report = h.CleanOnce('E', nullptr, [&](app::TFrmMain& main) {
    main.KeyDown(main.BtnDelete, ui::kKeyEscape);  // idle: the stop button is hidden
    EXPECT_FALSE(main.CleanRun.stop);
    h.ui.onProcessMessages = [&main] {
      if (!main.CleanRun.stop) main.KeyDown(main.DCBdrive, ui::kKeyEscape);
    };
  });
  EXPECT_EQ(report.lines, Lines{"E:\\a.tmp"});
}

// --- The run's robustness

TEST(CleanRun, SpecialStepsRunInOrderWithTheirTexts) {
  platform::sim::SimSystem sim;
  sim.AddDrive('C', DriveType::kFixed);
  sim.AddFile("C:\\Program Files\\unused.dll", testing_world::PeImage(100));
  sim.SetRegistryValue(platform::RegistryRoot::kLocalMachine, kDlls,
                       "C:\\Program Files\\unused.dll", platform::RegistryValue::FromDword(0));
  testing_clean::TestRun test(sim);
  for (int i = 0; i < lang::kLanguageTextCount; ++i)
    test.texts[static_cast<Text>(i)] = En(static_cast<Text>(i));
  test.texts.SetCode("En");
  test.settings.AdvancedOptions.fill(true);
  test.settings.AdvancedOptions[settings::kZeroByteFiles] = false;
  test.settings.AdvancedOptions[settings::kReviewFirst] = false;
  EXPECT_EQ(test.run.Run({}), clean::RunOutcome::kCompleted);
  EXPECT_EQ(test.view.statuses,
            (Lines{En(Text::kTempFoldersStatus), En(Text::kRecentDocumentsStatus),
                   En(Text::kEmptyRecycleBinStatus), En(Text::kTempInternetFilesStatus),
                   En(Text::kCookiesStatus), En(Text::kFavouritesStatus), En(Text::kHistoryStatus),
                   En(Text::kOldUpdateFilesStatus), En(Text::kSystemLogStatus),
                   En(Text::kErrorReportsStatus), En(Text::kShaderCachesStatus),
                   En(Text::kThumbnailsStatus), En(Text::kDeliveryOptimizationStatus),
                   En(Text::kUpgradeLogsStatus), En(Text::kDownloadsStatus),
                   En(Text::kUnusedDllsStatus), En(Text::kRunListStatus)}));
  // Each step that removes files says how many; the Run list holds none.
  const auto none = [](Text line) { return En(line, 0, 0); };
  EXPECT_EQ(test.view.report,
            (Lines{none(Text::kTempFoldersReport), none(Text::kRecentDocumentsReport),
                   En(Text::kBinNotEmptied), none(Text::kEmptyRecycleBinReport),
                   none(Text::kTempInternetFilesReport), none(Text::kCookiesReport),
                   none(Text::kFavouritesReport), none(Text::kHistoryReport),
                   none(Text::kOldUpdateFilesReport), none(Text::kSystemLogReport),
                   none(Text::kErrorReportsReport), none(Text::kShaderCachesReport),
                   none(Text::kThumbnailsReport), none(Text::kDeliveryOptimizationReport),
                   none(Text::kUpgradeLogsReport), none(Text::kDownloadsReport),
                   "C:\\Program Files\\unused.dll", En(Text::kRunListReport)}));
}

TEST(CleanRun, UnreadableSwitchesRunNoStepEitherAndTheReportSaysSo) {
  // An editor's digits, a length of neither 14 nor 16, a byte other than 0 and 1.
  for (const std::string& bytes : {std::string("0000000000000100"), std::string(15, '\0'),
                                   std::string(13, '\0') + '\x02' + std::string(2, '\0')}) {
    RunHarness h;
    SeedCleanupPlaces(h.sim);
    h.Patterns("");  // no scan is wanted either
    h.sim.AddFile("data\\advancedoption.dat", bytes);
    RunReport report = h.CleanOnce();
    EXPECT_EQ(report.headline, En(Text::kSettingsUnreadable));
    EXPECT_EQ(report.headlineColor, ui::Color::Rgb(255, 0, 0));
    EXPECT_TRUE(report.lines.empty());
    for (const char* kept :
         {"C:\\Windows\\Temp\\w.log", "C:\\Users\\me\\Favorites\\item.dat",
          "C:\\Users\\me\\History\\item.dat", "C:\\Program Files\\Old\\unused.dll"}) {
      EXPECT_TRUE(h.sim.Exists(kept)) << kept;
    }
    EXPECT_FALSE(h.sim.RegistryValueNamesOf(platform::RegistryRoot::kCurrentUser, kRunMru).empty());
    // Not overwritten with the switches that stood in for it.
    EXPECT_EQ(h.sim.Content("data\\advancedoption.dat"), bytes);
  }
}

TEST(CleanRun, WorksOnCopiesOfTheSettingsTakenAtItsStart) {
  RunHarness h;
  h.Patterns("*.tmp\r\n*.chk\r\n");
  h.sim.AddFile("E:\\a.tmp", "x");
  h.sim.AddFile("E:\\b.chk", "x");
  h.sim.AddFile("E:\\c.log", "x");
  RunReport report = h.CleanOnce('E', nullptr, [&](app::TFrmMain& main) {
    h.ui.onProcessMessages = [&main] {
      // As the options dialog's OK would during the run.
      main.Settings.FileEndingList = {"*.log"};
      main.Settings.AdvancedOptions[settings::kReviewFirst] = true;
    };
  });
  EXPECT_EQ(report.lines, (Lines{"E:\\a.tmp", "E:\\b.chk"}));
  EXPECT_TRUE(h.sim.Exists("E:\\c.log"));
}

TEST(CleanRun, NoSecondRunWhileAStoppedOneUnwinds) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  for (int i = 0; i < 3; ++i)
    h.sim.AddFile("E:\\f" + std::to_string(i) + ".tmp", "x");
  int runs = 0;
  RunReport report = h.CleanOnce('E', nullptr, [&](app::TFrmMain& main) {
    h.ui.onProcessMessages = [&] {
      if (main.CleanRun.stop) return;
      main.BBtnstop.Click();
      EXPECT_TRUE(main.BtnDelete.Visible());
      main.BtnDelete.Click();  // the idle controls are back: this must start nothing
      main.Lschen1.Click();
      ++runs;
    };
  });
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(report.lines, Lines{"E:\\f0.tmp"});
  EXPECT_EQ(h.ui.PendingScripts(), 0u);
}

TEST(CleanRun, ClosingTheWindowDuringARunStopsSavesAndCloses) {
  // Closed during the scan, with or without review mode; while the review is open, or the file
  // list above it.
  enum class When { kScan, kScanInReviewMode, kReview, kViewFiles };
  for (When when : {When::kScan, When::kScanInReviewMode, When::kReview, When::kViewFiles}) {
    RunHarness h;
    h.Patterns("*.tmp\r\n");
    if (when != When::kScan) h.Switches({settings::kReviewFirst});
    for (int i = 0; i < 3; ++i)
      h.sim.AddFile("E:\\f" + std::to_string(i) + ".tmp", "x");
    h.Run([&](app::TFrmMain& main) {
      for (int i = 0; i < main.DCBdrive.Count(); ++i) {
        if (main.DriveLetterAt(i) == 'E') main.DCBdrive.UserChose(i);
      }
      main.RBtndrive.Click();
      const auto close = [&] {
        main.Settings.FileEndingList.push_back("*.new");
        main.Close();
      };
      if (when == When::kReview) {
        h.ExpectReview([&](clean::TFrmmarkfile& review) {
          review.Btnallmark.Click();
          close();
        });
      } else if (when == When::kViewFiles) {
        h.ExpectReview([&](clean::TFrmmarkfile& review) { review.Btnviewfiles.Click(); });
        h.ui.QueueModal(
            [&](ui::Form& files) {
              close();
              EXPECT_EQ(files.GetModalResult(), ui::ModalResult::kCancel);
            },
            "TFrmviewfiles");
      } else {
        h.ui.onProcessMessages = [&] {
          if (!main.CleanRun.stop) close();
        };
      }
      // No review shows after a close and no report at all: no script is queued for either.
      main.BtnDelete.Click();
      EXPECT_FALSE(main.Showing());
      EXPECT_FALSE(main.CleanRun.running);
    });
    EXPECT_EQ(h.sim.Content("data\\fileformat.dat"), "*.tmp\r\n*.new\r\n");
    // Nothing more goes; in review mode nothing at all.
    for (int i = when == When::kScan ? 1 : 0; i < 3; ++i)
      EXPECT_TRUE(h.sim.Exists("E:\\f" + std::to_string(i) + ".tmp")) << i;
    EXPECT_EQ(h.ui.PendingScripts(), 0u);
  }
}

TEST(CleanRun, ControlsReturnToIdleWhenAStepThrows) {
  RunHarness h;
  h.Patterns("");
  h.Switches({settings::kTempFolders});
  h.Run([&](app::TFrmMain& main) {
    // A handler run by the step's message processing fails.
    h.ui.onProcessMessages = [&] {
      EXPECT_TRUE(main.BBtnstop.Visible());
      EXPECT_FALSE(main.Lschen1.Enabled());
      throw std::runtime_error("step failed");
    };
    EXPECT_THROW(main.BtnDelete.Click(), std::runtime_error);
    h.ui.onProcessMessages = nullptr;
    EXPECT_TRUE(main.BtnDelete.Visible());
    EXPECT_FALSE(main.BBtnstop.Visible());
    EXPECT_TRUE(main.Lschen1.Enabled());
    EXPECT_FALSE(main.Abbrechen1.Enabled());
    EXPECT_EQ(main.Sbmain.PanelText(0), "");
    EXPECT_EQ(main.Sbmain.PanelProgress(app::kProgressPanel), ui::StatusBar::kNoProgress);
    EXPECT_FALSE(main.CleanRun.running);
    main.Close();
  });
}

// While the scan walks, the status bar tells what it found so far and how much of the drive's
// used space it has listed; the bar goes when the scan ends.
TEST(CleanRun, TheStatusBarShowsTheScansFindsAndItsShareOfTheUsedSpace) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.sim.AddFile("E:\\a.tmp", std::string(3000, 'x'));
  h.sim.AddFile("E:\\keep.txt", std::string(1000, 'x'));
  h.sim.AddFile("E:\\sub\\b.tmp", std::string(4000, 'x'));
  std::vector<std::pair<int, std::string>> seen;
  RunReport report = h.CleanOnce('E', nullptr, [&](app::TFrmMain& main) {
    h.ui.onProcessMessages = [&] {
      const int progress = main.Sbmain.PanelProgress(app::kProgressPanel);
      if (progress != ui::StatusBar::kNoProgress)
        seen.emplace_back(progress, main.Sbmain.PanelText(0));
    };
  });
  ASSERT_FALSE(seen.empty());
  // Entering E:\sub, the walk had listed the root's 4000 of the drive's 8000 bytes.
  EXPECT_EQ(seen.front().first, 500);
  EXPECT_EQ(seen.front().second, En(Text::kScanProgress) + " \xC2\xB7 E:\\sub");
  EXPECT_EQ(report.lines, (Lines{"E:\\a.tmp", "E:\\sub\\b.tmp"}));
}

TEST(CleanRun, TheReportListIsEmptyAtTheNextRun) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.sim.AddFile("E:\\a.tmp", "x");
  RunReport first, second;
  h.Run([&](app::TFrmMain& main) {
    main.DCBdrive.UserChose(2);  // C:, D:, E:
    main.RBtndrive.Click();
    h.ExpectReport(first);
    main.BtnDelete.Click();
    EXPECT_EQ(clean::FrmDelinfo->LBdelinfo.Count(), 0);
    EXPECT_EQ(clean::FrmDelinfo->LBdelinfo.HorizontalExtent(), 0);
    h.sim.AddFile("E:\\b.tmp", "x");
    h.ExpectReport(second);
    main.BtnDelete.Click();
    main.Close();
  });
  EXPECT_EQ(first.lines, Lines{"E:\\a.tmp"});
  EXPECT_EQ(second.lines, Lines{"E:\\b.tmp"});
}

}  // namespace
}  // namespace testing_app
