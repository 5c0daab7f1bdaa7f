// The applications' entries in a run on the sim: after the special steps, each chosen entry that
// applies as a step of its own, the same in an analysis, a running program and a stop.
#include "clean/cleaner_steps.h"

#include "lang/quantities.h"
#include "tests/cleaners/rules_harness.h"

namespace testing_clean {
namespace {

using lang::Text;
using testing_cleaners::kLocal;
using testing_cleaners::kRoaming;

// Alpha applies everywhere, Beta where its folder is, Delta nowhere here; Gamma is never chosen.
// Beta's second key is too wide at the user's documents.
constexpr const char* kRules =
    "[Alpha *]\r\n"
    "Running=alpha.exe\r\n"
    "FileKey1=%LocalAppData%\\Alpha|*.tmp\r\n"
    "[Beta]\r\n"
    "DetectFile=%AppData%\\Beta\r\n"
    "FileKey1=%AppData%\\Beta\\Cache|*|RECURSE\r\n"
    "FileKey2=%UserProfile%\\Documents|*\r\n"
    "[Gamma]\r\n"
    "FileKey1=%LocalAppData%\\Gamma|*\r\n"
    "[Delta]\r\n"
    "DetectFile=%AppData%\\Delta\r\n"
    "FileKey1=%LocalAppData%\\Alpha|*\r\n";

class CleanerStepsTest : public ::testing::Test {
 protected:
  CleanerStepsTest() {
    testing_cleaners::SeedWindows(sim);
    sim.AddFile("C:\\Dustorix\\data\\cleaners\\rules.ini", kRules);
    sim.AddFile(kLocal + "\\Alpha\\a.tmp", std::string(100, 'a'));
    sim.AddFile(kLocal + "\\Alpha\\b.tmp", std::string(200, 'b'));
    sim.AddFile(kLocal + "\\Alpha\\keep.ini", "k");
    sim.AddFile(kRoaming + "\\Beta\\Cache\\x\\c.bin", std::string(1000, 'c'));
    sim.AddFile(kRoaming + "\\Beta\\settings.json", "s");
    sim.AddFile(kLocal + "\\Gamma\\g.bin", "g");
    sim.AddFile(testing_cleaners::kProfile + "\\Documents\\letter.doc", "d");
    test.settings.CleanerList = {"alpha *", "Beta", "Delta", "Gamma is not here", "Beta"};
    test.settings.AdvancedOptions[settings::kRunList] = true;
  }

  std::string Figures(std::uint64_t files, std::uint64_t bytes) const {
    return lang::FilesAndSize(files, bytes, test.texts);
  }
  std::string Refused() const {
    return lang::Filled(
        test.texts[Text::kCleanerKeyRefused],
        {"Beta", "FileKey2=%UserProfile%\\Documents|*", test.texts[Text::kRefusedProtectedFolder]});
  }
  std::string Status(std::string_view name) const {
    return lang::Filled(test.texts[Text::kCleanerStatus], {name});
  }

  platform::sim::SimSystem sim;
  TestRun test{sim};
};

TEST_F(CleanerStepsTest, ChosenEntriesThatApplyRunAfterTheSpecialStepsEachAsAStep) {
  test.run.Run({false, '\0'});
  const Lines report = {test.texts[Text::kRunListReport], "Alpha: " + Figures(2, 300),
                        "Beta: " + Figures(1, 1000), Refused()};
  EXPECT_EQ(test.view.report, report);
  EXPECT_EQ(test.view.statuses,
            (Lines{test.texts[Text::kRunListStatus], Status("Alpha"), Status("Beta")}));
  EXPECT_FALSE(sim.Exists(kLocal + "\\Alpha\\a.tmp"));
  EXPECT_TRUE(sim.Exists(kLocal + "\\Alpha\\keep.ini"));  // Delta, which would take it, is not here
  EXPECT_FALSE(sim.Exists(kRoaming + "\\Beta\\Cache\\x\\c.bin"));
  EXPECT_TRUE(sim.Exists(kRoaming + "\\Beta\\settings.json"));
  EXPECT_TRUE(sim.Exists(kLocal + "\\Gamma\\g.bin"));
  EXPECT_TRUE(sim.Exists(testing_cleaners::kProfile + "\\Documents\\letter.doc"));
  EXPECT_EQ(test.state.freedBytes, 1300);
  EXPECT_EQ(test.state.removedFiles, 3);
}

TEST_F(CleanerStepsTest, AnAnalysisReportsTheSameLinesAndRemovesNothing) {
  const std::string before = sim.Dump("C:\\");
  test.run.Run({false, '\0'}, clean::RunKind::kAnalysis);
  EXPECT_EQ(sim.Dump("C:\\"), before);
  EXPECT_EQ(test.view.report,
            (Lines{lang::WithoutAccessKey(test.texts[Text::kRunListCaption]),
                   "Alpha: " + Figures(2, 300), "Beta: " + Figures(1, 1000), Refused()}));
  EXPECT_EQ(test.state.freedBytes, 1300);
}

TEST_F(CleanerStepsTest, ARunningProgramLeavesItsEntryAloneAndTheOthersRun) {
  sim.SetRunning("ALPHA.EXE");
  test.run.Run({false, '\0'});
  EXPECT_TRUE(sim.Exists(kLocal + "\\Alpha\\a.tmp"));
  EXPECT_FALSE(sim.Exists(kRoaming + "\\Beta\\Cache\\x\\c.bin"));
  ASSERT_GE(test.view.report.size(), 3u);
  EXPECT_EQ(test.view.report[1],
            lang::Filled(test.texts[Text::kCleanerRunning], {"Alpha", "alpha.exe"}));
  EXPECT_EQ(test.view.report[2], "Beta: " + Figures(1, 1000));
}

TEST_F(CleanerStepsTest, AStopEndsTheEntriesAndNoneRunsWithoutAChoiceOrKnownSwitches) {
  test.view.onProcessMessages = [this] {
    if (test.view.statuses.size() == 2) test.state.stop = true;  // after Alpha
  };
  test.run.Run({false, '\0'});
  EXPECT_FALSE(sim.Exists(kLocal + "\\Alpha\\a.tmp"));
  EXPECT_TRUE(sim.Exists(kRoaming + "\\Beta\\Cache\\x\\c.bin"));
  EXPECT_EQ(test.view.statuses.back(), Status("Alpha"));

  test.view.onProcessMessages = nullptr;
  test.settings.CleanerList.clear();
  test.run.Run({false, '\0'});
  EXPECT_TRUE(sim.Exists(kRoaming + "\\Beta\\Cache\\x\\c.bin"));
  test.settings.CleanerList = {"Beta"};
  test.settings.switchesUnreadable = true;
  test.run.Run({false, '\0'});
  EXPECT_TRUE(sim.Exists(kRoaming + "\\Beta\\Cache\\x\\c.bin"));
}

TEST(ShownNameTest, OnlyTheMarkAtTheEndGoes) {
  EXPECT_EQ(cleaners::ShownName("Discord *"), "Discord");
  EXPECT_EQ(cleaners::ShownName("Steam"), "Steam");
  EXPECT_EQ(cleaners::ShownName(" *"), " *");
  EXPECT_EQ(cleaners::ShownName("A * B"), "A * B");
}

}  // namespace
}  // namespace testing_clean
