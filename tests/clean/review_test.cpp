// Review mode through the windows on the sim: the analysis, the review of its categories, and
// the clean-up of exactly what stayed ticked.
#include <gtest/gtest.h>

#include "tests/clean/run_harness.h"

namespace testing_app {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;
namespace attr = platform::attr;

// The review's rows by their first column.
Lines Rows(clean::TFrmmarkfile& review) {
  Lines rows;
  for (int i = 0; i < review.LVmarkfile.RowCount(); ++i)
    rows.push_back(review.LVmarkfile.Cell(i, 0));
  return rows;
}

// Unticks every row of this name by its box.
void Untick(clean::TFrmmarkfile& review, const std::string& name) {
  bool found = false;
  for (int i = 0; i < review.LVmarkfile.RowCount(); ++i) {
    if (review.LVmarkfile.Cell(i, 0) != name) continue;
    review.LVmarkfile.UserClickCheckBox(i);
    EXPECT_FALSE(review.LVmarkfile.Checked(i));
    found = true;
  }
  EXPECT_TRUE(found) << name;
}

int RowOf(clean::TFrmmarkfile& review, const std::string& name) {
  for (int i = 0; i < review.LVmarkfile.RowCount(); ++i) {
    if (review.LVmarkfile.Cell(i, 0) == name) return i;
  }
  ADD_FAILURE() << name << " is not listed";
  return -1;
}

// The English total with its figures, so that a test can read the review's total.
void ShowTotals(RunHarness& h) {
  std::string bytes;
  for (int i = 0; i < lang::kLanguageTextCount; ++i) {
    const auto text = static_cast<lang::Text>(i);
    bytes += Synthetic("En", text) + (text == Text::kReviewTotal ? ": %1" : "") + "\r\n";
  }
  h.sim.AddFile("data\\lang\\En.dat", bytes);
}

// A machine with junk on E: and in every place of the special steps, with the steps switched
// on that touch cookies, caches, history, the bin, the registry and the URL cache.
void Seed(RunHarness& h) {
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kReviewFirst, settings::kTempInternetFiles, settings::kCookies,
              settings::kHistory, settings::kEmptyRecycleBin, settings::kRunList,
              settings::kUnusedDlls});
  SeedCleanupPlaces(h.sim);
  h.sim.AddFile("E:\\a.tmp", std::string(3000, 'x'));
  h.sim.AddFile("E:\\sub\\b.tmp", std::string(5000, 'x'));
  h.sim.AddFile("C:\\bin.dat", std::string(700, 'x'));
  h.sim.MoveToRecycleBin("C:\\bin.dat");
}

// Every entry under the places a run reaches, for a before-and-after comparison.
Lines Everything(RunHarness& h) {
  Lines all;
  for (const char* root :
       {"C:\\Users", "C:\\Windows", "C:\\Program Files", "C:\\ProgramData", "E:\\"}) {
    all.push_back(h.sim.Dump(root));
  }
  return all;
}

TEST(Review, EveryWayOutOfTheReviewRemovesNothingAtAll) {
  struct Way {
    const char* name;
    std::function<void(clean::TFrmmarkfile&)> leave;
  };
  const Way ways[] = {
      {"close box", [](clean::TFrmmarkfile& r) { r.Close(); }},
      {"Cancel", [](clean::TFrmmarkfile& r) { r.Btncancel.Click(); }},
      {"Escape", [](clean::TFrmmarkfile& r) { r.KeyDown(r.LVmarkfile, ui::kKeyEscape); }},
      {"Escape on a button", [](clean::TFrmmarkfile& r) { r.KeyDown(r.Btnnext, ui::kKeyEscape); }},
  };
  for (const Way& way : ways) {
    RunHarness h;
    Seed(h);
    const Lines before = Everything(h);
    Lines rows;
    RunReport report = h.CleanOnce('E', [&](clean::TFrmmarkfile& review) {
      rows = Rows(review);
      review.Btnallmark.Click();
      way.leave(review);
    });
    // Found files, each browser's cache and cookies, the steps that found something.
    EXPECT_GE(rows.size(), 6u) << way.name;
    EXPECT_EQ(Everything(h), before) << way.name;
    EXPECT_TRUE(h.sim.RegistryValueOf(RegistryRoot::kCurrentUser, kRunMru, "a")) << way.name;
    EXPECT_EQ(h.sim.UrlCacheUrls(), Lines{"https://example.org/page"}) << way.name;
    EXPECT_EQ(h.sim.RecycleBinPaths(), Lines{"C:\\bin.dat"}) << way.name;
    EXPECT_EQ(report.headline, En(Text::kCancelledHeadline)) << way.name;
    EXPECT_EQ(report.headlineColor, ui::Color::Rgb(255, 0, 0)) << way.name;
    EXPECT_TRUE(report.lines.empty()) << way.name;
    EXPECT_EQ(report.value, "0" + En(Text::kFreedUnit)) << way.name;
  }
}

// What stays ticked goes, what is unticked stays whole, and the total the review showed is what
// the clean-up freed.
TEST(Review, AnUntickedCategoryKeepsAllItsItemsAndTheTotalIsWhatGoes) {
  RunHarness h;
  Seed(h);
  ShowTotals(h);
  std::string total;
  std::string freed;
  h.Run([&](app::TFrmMain& main) {
    main.DCBdrive.UserChose(2);
    main.RBtndrive.Click();
    h.ExpectReview([&](clean::TFrmmarkfile& review) {
      const int found = RowOf(review, En(Text::kFoundFilesCategory));
      EXPECT_EQ(review.LVmarkfile.Cell(found, 1), "2");
      EXPECT_TRUE(review.LVmarkfile.Checked(found));
      // A plain click on the row selects it; only its box unticks it.
      review.LVmarkfile.UserClickRow(found);
      EXPECT_TRUE(review.LVmarkfile.Checked(found));
      Untick(review, En(Text::kRunListCaption));
      Untick(review, En(Text::kCookiesCaption));
      Untick(review, En(Text::kBrowserCookiesPart));
      Untick(review, En(Text::kEmptyRecycleBinCaption));
      total = review.Lbltotal.Caption();
      review.Btnnext.Click();
    });
    RunReport report;
    h.ExpectReport(report);
    main.BtnDelete.Click();
    freed = En(Text::kReviewTotal, static_cast<std::uint64_t>(main.CleanRun.removedFiles),
               static_cast<std::uint64_t>(main.CleanRun.freedBytes));
    EXPECT_EQ(report.headline, En(Text::kSuccessHeadline));
    main.Close();
  });
  EXPECT_EQ(freed, total);
  EXPECT_NE(total.find(" KB"), std::string::npos) << total;
  EXPECT_FALSE(h.sim.Exists("E:\\a.tmp"));
  EXPECT_FALSE(h.sim.Exists("E:\\sub\\b.tmp"));
  // Caches went; the unticked cookies, Run list and bin stayed, every one of them.
  EXPECT_FALSE(
      h.sim.Exists("C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Cache\\"
                   "Cache_Data\\f_000001"));
  EXPECT_TRUE(h.sim.Exists("C:\\Users\\me\\Cookies\\item.dat"));
  EXPECT_TRUE(
      h.sim.Exists("C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Network\\"
                   "Cookies"));
  EXPECT_TRUE(h.sim.Exists("C:\\Users\\me\\AppData\\Opera\\Opera7\\profile\\cookies4.dat"));
  EXPECT_TRUE(h.sim.RegistryValueOf(RegistryRoot::kCurrentUser, kRunMru, "a"));
  EXPECT_EQ(h.sim.RecycleBinPaths(), Lines{"C:\\bin.dat"});
  EXPECT_TRUE(h.sim.UrlCacheUrls().empty());
  EXPECT_FALSE(h.sim.Exists("C:\\Program Files\\Old\\unused.dll"));
}

// The previous Windows installation is only told of: a row of the review that takes no tick,
// and a line of an analysis with its files and size, a link inside not counted. Nothing of it
// goes.
TEST(Review, ThePreviousWindowsInstallationIsToldOfAndNeverRemoved) {
  RunHarness h;
  Seed(h);
  std::string bytes;
  for (int i = 0; i < lang::kLanguageTextCount; ++i) {
    const auto text = static_cast<lang::Text>(i);
    bytes += Synthetic("En", text);
    if (text == Text::kPreviousWindowsInfo) bytes += " %1 (%2)";
    if (text == Text::kPreviousWindowsRow) bytes += " %1";
    bytes += "\r\n";
  }
  h.sim.AddFile("data\\lang\\En.dat", bytes);
  h.sim.AddFile("C:\\Windows.old\\Windows\\System32\\kernel32.dll", std::string(4000, 'x'));
  h.sim.AddFile("C:\\Windows.old\\Users\\me\\letter.doc", std::string(96, 'x'));
  h.sim.AddFile("E:\\far\\big.bin", std::string(9000, 'x'));
  h.sim.AddFolderLink("C:\\Windows.old\\far", "E:\\far");
  const std::string before = h.sim.Dump("C:\\Windows.old");
  const std::string name = En(Text::kPreviousWindowsCategory);
  const std::string row = En(Text::kPreviousWindowsRow) + " " + name;
  RunReport analysis;
  h.Run([&](app::TFrmMain& main) {
    main.DCBdrive.UserChose(2);
    main.RBtndrive.Click();
    h.ExpectReview([](clean::TFrmmarkfile& review) { review.Close(); });
    h.ExpectReport(analysis);
    main.BtnAnalyze.Click();
    h.ExpectReview([&](clean::TFrmmarkfile& review) {
      const int at = RowOf(review, row);
      EXPECT_EQ(at, review.LVmarkfile.RowCount() - 1) << "after the categories that go";
      EXPECT_EQ(review.LVmarkfile.Cell(at, 1), "2");
      EXPECT_FALSE(review.LVmarkfile.Checked(at));
      review.LVmarkfile.UserClickCheckBox(at);
      EXPECT_FALSE(review.LVmarkfile.Checked(at));
      review.Btnallmark.Click();
      EXPECT_FALSE(review.LVmarkfile.Checked(at));
      review.Btnnext.Click();
    });
    RunReport report;
    h.ExpectReport(report);
    main.BtnDelete.Click();
    EXPECT_EQ(std::count(report.lines.begin(), report.lines.end(), name), 0);
    main.Close();
  });
  const std::string info = En(Text::kPreviousWindowsInfo);
  const std::string figures = En(Text::kPreviousWindowsInfo, 2, 4096).substr(info.size() + 2);
  const std::string told = info + " " + name + " (" + figures + ")";
  EXPECT_EQ(std::count(analysis.lines.begin(), analysis.lines.end(), told), 1) << told;
  EXPECT_EQ(h.sim.Dump("C:\\Windows.old"), before);
  EXPECT_TRUE(h.sim.Exists("E:\\far\\big.bin"));
  EXPECT_FALSE(h.sim.Exists("E:\\a.tmp"));
}

// Two patterns and the empty-file pass take the same files: each is one item, and unticking its
// category keeps it.
TEST(Review, AFileSeveralPassesTakeIsOneItem) {
  for (const bool untick : {false, true}) {
    RunHarness h;
    h.Patterns("*.tmp\r\n~*.tmp\r\n");
    h.Switches({settings::kZeroByteFiles, settings::kReviewFirst});
    h.sim.AddFile("E:\\~a.tmp", std::string(2048, 'x'));
    h.sim.AddFile("E:\\e.tmp", "");
    h.sim.AddFile("E:\\empty.txt", "");
    RunReport report = h.CleanOnce('E', [&](clean::TFrmmarkfile& review) {
      EXPECT_EQ(Rows(review),
                (Lines{En(Text::kFoundFilesCategory), En(Text::kEmptyFilesCategory)}));
      EXPECT_EQ(review.LVmarkfile.Cell(0, 1), "2");
      EXPECT_EQ(review.LVmarkfile.Cell(1, 1), "1");
      if (untick) review.LVmarkfile.UserClickCheckBox(0);
      review.Btnnext.Click();
    });
    EXPECT_EQ(h.sim.Exists("E:\\~a.tmp"), untick);
    EXPECT_EQ(h.sim.Exists("E:\\e.tmp"), untick);
    EXPECT_FALSE(h.sim.Exists("E:\\empty.txt"));
    const Lines found = {En(Text::kFoundFilesCategory, 2, 2048), "E:\\~a.tmp", "E:\\e.tmp"};
    Lines expected = untick ? Lines{} : found;
    expected.push_back(En(Text::kEmptyFilesCategory, 1, 0));
    expected.push_back("E:\\empty.txt");
    EXPECT_EQ(report.lines, expected);
  }
}

// Between the analysis and the clean-up a file grows, one becomes read-only, one is replaced by a
// link, and one's folder by a link elsewhere: all stay and are counted; the unchanged one goes.
TEST(Review, WhatChangedSinceTheAnalysisStaysAndIsCounted) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kReviewFirst});
  h.sim.AddFile("E:\\grows.tmp", "x");
  h.sim.AddFile("E:\\locked.tmp", "x");
  h.sim.AddFile("E:\\linked.tmp", "x");
  h.sim.AddFile("E:\\moved\\inner.tmp", "x");
  h.sim.AddFile("E:\\same.tmp", "x");
  h.sim.AddFile("C:\\elsewhere\\inner.tmp", "x");
  RunReport report = h.CleanOnce('E', [&](clean::TFrmmarkfile& review) {
    h.sim.AddFile("E:\\grows.tmp", "xx");
    h.sim.SetAttributes("E:\\locked.tmp", attr::kReadOnly | attr::kArchive);
    h.sim.DeleteFile("E:\\linked.tmp");
    h.sim.AddFolderLink("E:\\linked.tmp", "C:\\");
    h.sim.DeleteFile("E:\\moved\\inner.tmp");
    h.sim.RemoveFolder("E:\\moved");
    h.sim.AddFolderLink("E:\\moved", "C:\\elsewhere");
    review.Btnnext.Click();
  });
  EXPECT_EQ(report.lines, (Lines{En(Text::kFoundFilesCategory, 1, 1), "E:\\same.tmp",
                                 lang::Filled(En(Text::kChangedSinceAnalysis), {"4"})}));
  EXPECT_FALSE(h.sim.Exists("E:\\same.tmp"));
  EXPECT_EQ(h.sim.Content("E:\\grows.tmp"), "xx");
  EXPECT_TRUE(h.sim.Exists("E:\\locked.tmp"));
  EXPECT_TRUE(h.sim.Exists("C:\\elsewhere\\inner.tmp"));
  EXPECT_TRUE(h.sim.Exists("C:\\"));
}

// A stopped analysis says so in its review; what it found until then is what goes.
TEST(Review, AStoppedAnalysisShowsWhatItFoundUntilThen) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kReviewFirst, settings::kRunList});
  SeedCleanupPlaces(h.sim);
  for (int i = 0; i < 5; ++i)
    h.sim.AddFile("E:\\f" + std::to_string(i) + ".tmp", "x");
  RunReport report = h.CleanOnce(
      'E',
      [&](clean::TFrmmarkfile& review) {
        EXPECT_EQ(review.Lblmarkfile.Caption(), En(Text::kAnalysisStoppedHeadline));
        EXPECT_EQ(Rows(review), Lines{En(Text::kFoundFilesCategory)});
        EXPECT_EQ(review.LVmarkfile.Cell(0, 1), "3");
        review.Btnnext.Click();
      },
      [&](app::TFrmMain& main) {
        auto count = std::make_shared<int>(0);
        h.ui.onProcessMessages = [&main, count] {
          if (++*count == 3) main.BBtnstop.Click();
        };
      });
  EXPECT_EQ(report.lines,
            (Lines{En(Text::kFoundFilesCategory, 3, 3), "E:\\f0.tmp", "E:\\f1.tmp", "E:\\f2.tmp"}));
  EXPECT_EQ(report.headline, En(Text::kSuccessHeadline));
  EXPECT_TRUE(h.sim.Exists("E:\\f3.tmp"));
  // The Run list step never ran in the analysis, so it does not run now.
  EXPECT_TRUE(h.sim.RegistryValueOf(RegistryRoot::kCurrentUser, kRunMru, "a"));
}

// An application's entry is a category of its own: unticked, its cache stays.
TEST(Review, AnApplicationEntryIsACategoryOfItsOwn) {
  RunHarness h;
  h.Switches({settings::kReviewFirst, settings::kRunList});
  SeedCleanupPlaces(h.sim);
  h.sim.AddFile("data\\cleaners\\rules.ini",
                "[Chat *]\r\nFileKey1=%LocalAppData%\\Chat\\Cache|*\r\n");
  h.sim.AddFile("data\\cleaners.dat", "Chat *\r\n");
  h.sim.AddFile("C:\\Users\\me\\Local\\Chat\\Cache\\c1", std::string(300, 'c'));
  h.CleanOnce('E', [&](clean::TFrmmarkfile& review) {
    const Lines rows = Rows(review);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Chat"), rows.end())
        << ::testing::PrintToString(rows);
    Untick(review, "Chat");
    review.Btnnext.Click();
  });
  EXPECT_TRUE(h.sim.Exists("C:\\Users\\me\\Local\\Chat\\Cache\\c1"));
  EXPECT_FALSE(h.sim.RegistryValueOf(RegistryRoot::kCurrentUser, kRunMru, "a"));
}

// A step that deletes for good while the bin is switched on says so; the finds, recycled, do not.
TEST(Review, ARowThatDeletesForGoodSaysSo) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kReviewFirst, settings::kRecycleFound, settings::kCookies});
  SeedCleanupPlaces(h.sim);
  h.sim.AddFile("E:\\a.tmp", "x");
  h.CleanOnce('E', [&](clean::TFrmmarkfile& review) {
    const Lines rows = Rows(review);
    EXPECT_EQ(rows.front(), En(Text::kFoundFilesCategory));
    for (std::size_t i = 1; i < rows.size(); ++i)
      EXPECT_EQ(rows[i].rfind(En(Text::kDeletesForGood), 0), 0u) << rows[i];
    review.Btnnext.Click();
  });
  EXPECT_EQ(h.sim.RecycleBinPaths(), Lines{"E:\\a.tmp"});
  EXPECT_FALSE(h.sim.Exists("C:\\Users\\me\\Cookies\\item.dat"));
}

// "View files" shows a category's files one by one, sortable; unticking one keeps it alone, and
// the total follows.
TEST(Review, ViewFilesUntickingOneFileKeepsJustThatFile) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kReviewFirst});
  h.sim.AddFile("E:\\b.tmp", std::string(3000, 'x'));
  h.sim.AddFile("E:\\sub\\a.tmp", std::string(1000, 'x'));
  h.sim.AddFile("E:\\c.tmp", std::string(2000, 'x'));
  ShowTotals(h);
  std::string totalBefore, totalAfter;
  RunReport report;
  h.Run([&](app::TFrmMain& main) {
    main.DCBdrive.UserChose(2);
    main.RBtndrive.Click();
    h.ExpectReview([&](clean::TFrmmarkfile& review) {
      totalBefore = review.Lbltotal.Caption();
      review.LVmarkfile.UserClickRow(0);
      review.Btnviewfiles.Click();
      totalAfter = review.Lbltotal.Caption();
      review.Btnnext.Click();
    });
    h.ui.QueueModal(
        [&](ui::Form& form) {
          auto& files = static_cast<clean::TFrmviewfiles&>(form);
          ui::ListView& list = files.LVviewfiles;
          EXPECT_EQ(files.Lblviewfiles.Caption(), En(Text::kFoundFilesCategory));
          ASSERT_EQ(list.RowCount(), 3);
          list.UserClickHeader(0);  // by name: a, b, c
          EXPECT_EQ(list.Cell(0, 0), "a.tmp");
          EXPECT_EQ(list.Cell(0, 1), "E:\\sub\\");
          EXPECT_EQ(list.Cell(2, 0), "c.tmp");
          list.UserClickHeader(2);  // by size, smallest first
          list.UserClickHeader(2);  // then largest first
          EXPECT_EQ(list.Cell(0, 0), "b.tmp");
          list.UserClickRow(1);  // selects; ticks nothing
          EXPECT_TRUE(list.Checked(1));
          list.UserClickCheckBox(1);  // c.tmp
          EXPECT_FALSE(list.Checked(1));
          EXPECT_TRUE(list.Checked(0));
          files.Btnclose.Click();
        },
        "TFrmviewfiles");
    h.ExpectReport(report);
    main.BtnDelete.Click();
    main.Close();
  });
  EXPECT_EQ(totalBefore, En(Text::kReviewTotal, 3, 6000));
  EXPECT_EQ(totalAfter, En(Text::kReviewTotal, 2, 4000));
  EXPECT_TRUE(h.sim.Exists("E:\\c.tmp"));
  EXPECT_FALSE(h.sim.Exists("E:\\b.tmp"));
  EXPECT_FALSE(h.sim.Exists("E:\\sub\\a.tmp"));
  EXPECT_EQ(report.lines.front(), En(Text::kFoundFilesCategory, 2, 4000));
}

// Registry values, URL-cache entries and the recycle bin go as listed, if still there: a bin that
// took more since the analysis is not emptied, and what someone else removed is only counted.
TEST(Review, RegistryUrlCacheAndBinGoOnlyAsListed) {
  RunHarness h;
  h.Patterns("");
  h.Switches({settings::kReviewFirst, settings::kTempInternetFiles, settings::kEmptyRecycleBin,
              settings::kRunList});
  SeedCleanupPlaces(h.sim);
  h.sim.SetRegistryValue(RegistryRoot::kCurrentUser, kRunMru, "b",
                         platform::RegistryValue::FromText("notepad"));
  h.sim.AddFile("C:\\old.dat", "old");
  h.sim.MoveToRecycleBin("C:\\old.dat");
  RunReport report = h.CleanOnce('E', [&](clean::TFrmmarkfile& review) {
    h.sim.AddFile("C:\\new.dat", "new");
    h.sim.MoveToRecycleBin("C:\\new.dat");
    h.sim.DeleteUrlCacheItem("https://example.org/page");
    h.sim.OpenRegistryKey(RegistryRoot::kCurrentUser, kRunMru)->DeleteValue("a");
    h.sim.SetRegistryValue(RegistryRoot::kCurrentUser, kRunMru, "c",
                           platform::RegistryValue::FromText("calc"));
    review.Btnnext.Click();
  });
  EXPECT_EQ(h.sim.RecycleBinPaths(), (Lines{"C:\\old.dat", "C:\\new.dat"}));
  // The listed value went; the one added since stays.
  EXPECT_EQ(h.sim.RegistryValueNamesOf(RegistryRoot::kCurrentUser, kRunMru), Lines{"c"});
  EXPECT_EQ(report.lines.back(), lang::Filled(En(Text::kChangedSinceAnalysis), {"3"}));
}

// Analyze shows the same review: leaving it removes nothing and its report follows; "Clean up"
// there removes what stayed ticked, and the report is a clean's. What the analysis left alone is
// told whichever way the user goes, and a shared library's count goes only with its file.
TEST(Review, AnalyzeOffersTheSameReviewAndNotesAndCountsOutliveIt) {
  for (const bool cleanUp : {false, true}) {
    RunHarness h;
    Seed(h);
    h.sim.AddFile("data\\agerules.dat", "TempKeepHours=24\r\nnonsense\r\n");
    const Lines before = Everything(h);
    RunReport report;
    h.Run([&](app::TFrmMain& main) {
      main.DCBdrive.UserChose(2);
      main.RBtndrive.Click();
      h.ExpectReview([&](clean::TFrmmarkfile& review) {
        EXPECT_GE(review.LVmarkfile.RowCount(), 6);
        Untick(review, En(Text::kCookiesCaption));
        // The library grows before the clean-up: it stays, and so does its count.
        h.sim.AddFile("C:\\Program Files\\Old\\unused.dll", testing_world::PeImage(5000));
        if (cleanUp) review.Btnnext.Click();
      });
      h.ExpectReport(report);
      main.BtnAnalyze.Click();
      main.Close();
    });
    const std::string note = lang::Filled(En(Text::kAgeRuleIgnored), {"2"});
    EXPECT_EQ(std::count(report.lines.begin(), report.lines.end(), note), 1) << cleanUp;
    EXPECT_EQ(report.headline, En(cleanUp ? Text::kSuccessHeadline : Text::kAnalysisHeadline));
    EXPECT_EQ(report.caption, En(cleanUp ? Text::kReportTitle : Text::kAnalysisTitle));
    EXPECT_TRUE(h.sim.Exists("C:\\Program Files\\Old\\unused.dll"));
    EXPECT_TRUE(h.sim.RegistryValueOf(RegistryRoot::kLocalMachine, kDlls,
                                      "C:\\Program Files\\Old\\unused.dll"));
    EXPECT_TRUE(h.sim.Exists("C:\\Users\\me\\Cookies\\item.dat"));
    if (!cleanUp) {
      h.sim.AddFile("C:\\Program Files\\Old\\unused.dll", testing_world::PeImage(4000));
      EXPECT_EQ(Everything(h), before);
    } else {
      EXPECT_FALSE(h.sim.Exists("E:\\a.tmp"));
      EXPECT_FALSE(h.sim.RegistryValueOf(RegistryRoot::kCurrentUser, kRunMru, "a"));
    }
  }
}

// In review mode the notes of the analysis are the report of a cancelled run.
TEST(Review, ACancelledReviewStillTellsWhatWasLeftAlone) {
  RunHarness h;
  Seed(h);
  h.sim.AddFile("data\\agerules.dat", "nonsense\r\n");
  RunReport report =
      h.CleanOnce('E', [](clean::TFrmmarkfile& review) { review.Btncancel.Click(); });
  EXPECT_EQ(report.headline, En(Text::kCancelledHeadline));
  EXPECT_EQ(report.lines, Lines{lang::Filled(En(Text::kAgeRuleIgnored), {"1"})});
}

}  // namespace
}  // namespace testing_app
