// Whole clean runs and whole settings cycles with one failure injected at every call the
// fault-free run made, of every operation, in every fitting kind. After each: no crash, the
// controls idle, the report naming only what is really gone, the freed size the sum of it, the
// protected files all there, the settings files old or new but never a mix, empty or stray.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "platform/text_lines.h"
#include "settings/list_file.h"
#include "settings/settings_files.h"
#include "tests/reliability/sweep_harness.h"

namespace reliability {
namespace {

using testing_app::RunHarness;
namespace attr = platform::attr;

constexpr const char* kSettingsFiles[] = {
    "C:\\Dustorix\\data\\fileformat.dat", "C:\\Dustorix\\data\\exception.dat",
    "C:\\Dustorix\\data\\advancedoption.dat", "C:\\Dustorix\\data\\lang\\whichlang.dat"};

// What no run may remove, whatever fails: the user's documents behind links, excepted,
// read-only and system files, files no pattern names, a DLL still in use, the links on E:, a
// browser's settings.
constexpr const char* kMustSurvive[] = {"C:\\Users\\me\\Documents\\thesis.tmp",
                                        "C:\\Users\\me\\Documents\\thesis.doc",
                                        "E:\\keep.tmp",
                                        "E:\\readonly.tmp",
                                        "E:\\system.tmp",
                                        "E:\\notes.txt",
                                        "E:\\link.tmp",
                                        "E:\\docs",
                                        "E:\\sub\\loop",
                                        "C:\\Windows\\system32\\kernel.dll",
                                        "C:\\Users\\me\\Temp\\ro.log",
                                        "C:\\Users\\me\\Local\\Google\\Chrome\\User "
                                        "Data\\Default\\Preferences"};

enum class Mode { kDelete, kRecycle, kReview };

// A machine with something for every clean-up, including links that lead out of the places a
// run empties. The recent-documents step is left off: it counts what the shell deletes itself.
void SeedMachine(RunHarness& h, Mode mode) {
  SimSystem& sim = h.sim;
  h.Patterns("*.tmp\r\n~*.*\r\n*.bak\r\n");
  h.Exceptions("keep.tmp\r\n");
  settings::Switches on{};
  on.fill(true);
  on[settings::kRecentDocuments] = false;
  on[settings::kRecycleFound] = mode == Mode::kRecycle;
  on[settings::kReviewFirst] = mode == Mode::kReview;
  sim.AddFile("data\\advancedoption.dat", settings::FormatAdvancedOptions(on));

  sim.AddFile("C:\\Users\\me\\Documents\\thesis.tmp", std::string(70, 'p'));
  sim.AddFile("C:\\Users\\me\\Documents\\thesis.doc", std::string(80, 'p'));
  sim.AddFile("E:\\a.tmp", std::string(1000, 'x'));
  sim.AddFile("E:\\~lock.doc", std::string(300, 'x'));
  sim.AddFile("E:\\sub\\b.tmp", std::string(2000, 'x'));
  sim.AddFile("E:\\sub\\deep\\c.bak", std::string(50, 'x'));
  sim.AddFile("E:\\empty.log", "");
  sim.AddFile("E:\\keep.tmp", "k");
  sim.AddFile("E:\\readonly.tmp", "r", attr::kReadOnly);
  sim.AddFile("E:\\system.tmp", "s", attr::kSystem);
  sim.AddFile("E:\\notes.txt", "n");
  sim.AddFolderLink("E:\\link.tmp", "C:\\Users\\me\\Documents");
  sim.AddFolderLink("E:\\docs", "C:\\Users\\me\\Documents");
  sim.AddFolderLink("E:\\sub\\loop", "E:\\");

  sim.SetTempFolder("C:\\Users\\me\\Temp\\");
  sim.AddFile("C:\\Users\\me\\Temp\\x.log", std::string(2000, 'x'));
  sim.AddFile("C:\\Users\\me\\Temp\\sub\\y.log", std::string(3000, 'x'));
  sim.AddFile("C:\\Users\\me\\Temp\\ro.log", "r", attr::kReadOnly);
  sim.AddFolderLink("C:\\Users\\me\\Temp\\docs", "C:\\Users\\me\\Documents");
  testing_app::SeedCleanupPlaces(sim);
}

struct Outcome {
  std::vector<std::uint64_t> calls;  // of each operation
  bool fired = false;
};

// One whole program run: start, a clean run of E:, close. Checks everything a run must keep
// true and returns the number of calls each operation got.
Outcome CleanRunWith(Mode mode, const std::optional<Injection>& injection) {
  RunHarness h;
  SeedMachine(h, mode);
  std::map<std::string, std::string> oldSettings;
  for (const char* path : kSettingsFiles)
    oldSettings[path] = h.sim.Content(path).value_or("<none>");
  const Snapshot before = TakeSnapshot(h.sim);
  std::vector<std::string> report;
  AnswerEveryDialog(h, report);

  const std::string what = injection ? Describe(*injection) : "no fault";
  std::int64_t freed = -1;
  bool idle = false;
  h.sim.ResetCounters();
  if (injection) h.faults.FailNthCall(injection->op, injection->n, injection->fault);
  h.Run([&](app::TFrmMain& main) {
    for (int i = 0; i < main.DCBdrive.Count(); ++i) {
      if (main.DriveLetterAt(i) == 'E') main.DCBdrive.UserChose(i);
    }
    main.RBtndrive.Click();
    main.BtnDelete.Click();
    idle = main.BtnDelete.Visible() && !main.BBtnstop.Visible() && main.Lschen1.Enabled() &&
           !main.Abbrechen1.Enabled() && !main.CleanRun.running;
    freed = main.CleanRun.freedBytes;
    main.Close();
  });
  Outcome outcome;
  outcome.calls = CallsOf(h.sim);
  outcome.fired = h.faults.InjectedFailureFired();

  EXPECT_TRUE(idle) << what;
  const Snapshot after = TakeSnapshot(h.sim);
  const std::vector<std::string>& vanished = h.faults.VanishedPaths();
  auto tookByFault = [&](const std::string& folded) {
    return std::find(vanished.begin(), vanished.end(), folded) != vanished.end();
  };
  // What the program removed: there before, gone after, not taken by the fault.
  std::set<std::string> removed;
  std::int64_t removedBytes = 0;
  for (const auto& [path, size] : before.files) {
    if (!after.Has(path) && !tookByFault(path)) {
      removed.insert(path);
      removedBytes += static_cast<std::int64_t>(size);
    }
  }
  for (const std::string& path : before.others) {
    if (!after.Has(path) && !tookByFault(path)) removed.insert(path);
  }
  EXPECT_EQ(freed, removedBytes) << what;
  std::set<std::string> reported;
  for (const std::string& line : report) {
    if (line.size() < 3 || line[1] != ':') continue;  // a step's text, not a path
    const std::string folded = platform::sim::FoldName(line);
    EXPECT_TRUE(removed.count(folded)) << what << ": reported but not removed: " << line;
    EXPECT_TRUE(reported.insert(folded).second) << what << ": reported twice: " << line;
  }
  // An exception list another program deleted protects nothing: that is a first run.
  const bool exceptionsGone = tookByFault(platform::sim::FoldName(kSettingsFiles[1]));
  for (const char* path : kMustSurvive) {
    const std::string folded = platform::sim::FoldName(path);
    if (exceptionsGone && folded == "E:\\KEEP.TMP") continue;
    EXPECT_TRUE(h.sim.Exists(path) || tookByFault(folded)) << what << ": removed " << path;
  }
  // A user found to be no administrator loses the administrators' switches at start, as
  // designed; a failed check of the token finds that too.
  if (injection && injection->op == Op::kIsAdministrator) {
    std::string& switches = oldSettings[kSettingsFiles[2]];
    for (int i : {settings::kOldUpdateFiles, settings::kSystemLog, settings::kUnusedDlls,
                  settings::kDeliveryOptimization, settings::kUpgradeLogs})
      switches[static_cast<std::size_t>(i)] = '\0';
  }
  for (const char* path : kSettingsFiles) {
    // A run changes no setting: each file is as it was, unless the fault took it away.
    if (!tookByFault(platform::sim::FoldName(path))) {
      EXPECT_EQ(h.sim.Content(path).value_or("<none>"), oldSettings[path]) << what << ": " << path;
    }
    EXPECT_FALSE(h.sim.Exists(std::string(path) + ".new")) << what << ": " << path;
  }
  return outcome;
}

// Runs the sweep and tells how many faults were injected; stops at the first run that broke a
// rule, so that one fault does not bury the log.
int Sweep(Mode mode) {
  const Outcome clean = CleanRunWith(mode, std::nullopt);
  if (::testing::Test::HasFailure()) return 0;
  int injected = 0;
  for (const Injection& injection : EveryInjection(clean.calls)) {
    const Outcome outcome = CleanRunWith(mode, injection);
    EXPECT_TRUE(outcome.fired) << Describe(injection);
    ++injected;
    if (::testing::Test::HasFailure()) break;
  }
  return injected;
}

void Announce(const char* sweep, int injected) {
  std::printf("[ sweep    ] %s: %d injected faults survived\n", sweep, injected);
  ::testing::Test::RecordProperty("injected_faults", injected);
}

TEST(FaultSweep, CleanRunDeletingSurvivesAFailureAtEveryCall) {
  const int injected = Sweep(Mode::kDelete);
  EXPECT_GT(injected, 300);
  Announce("clean run, deleting", injected);
}

TEST(FaultSweep, CleanRunRecyclingSurvivesAFailureAtEveryCall) {
  const int injected = Sweep(Mode::kRecycle);
  EXPECT_GT(injected, 300);
  Announce("clean run, recycling", injected);
}

TEST(FaultSweep, CleanRunWithReviewSurvivesAFailureAtEveryCall) {
  const int injected = Sweep(Mode::kReview);
  EXPECT_GT(injected, 300);
  Announce("clean run, review", injected);
}

// --- Settings: a start, the user setting every file anew, a close.

struct SettingsContents {
  std::string fileFormat, exception, advancedOption, whichLang;
};

// The old switches as earlier versions wrote them, 14 bytes; the new ones have all 20.
const SettingsContents kOld = {
    "*.tmp\r\n*.chk\r\n", "thumbs.db\r\n",
    std::string("\x01\x00\x01\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x01", 14),
    std::string("\x02"
                "En\x01",
                4)};
const SettingsContents kNew = {"*.gid\r\n*.$$$\r\n*.old\r\n", "desktop.ini\r\nkeep.me\r\n",
                               std::string(20, '\x01'),
                               std::string("\x02"
                                           "De\x01",
                                           4)};

std::vector<std::uint64_t> SettingsCycleWith(const std::optional<Injection>& injection) {
  RunHarness h;
  h.sim.AddFile("data\\fileformat.dat", kOld.fileFormat);
  h.sim.AddFile("data\\exception.dat", kOld.exception);
  h.sim.AddFile("data\\advancedoption.dat", kOld.advancedOption);
  h.sim.AddFile("data\\lang\\whichlang.dat", kOld.whichLang);
  std::vector<std::string> report;
  AnswerEveryDialog(h, report);
  const std::string what = injection ? Describe(*injection) : "no fault";
  h.sim.ResetCounters();
  if (injection) h.faults.FailNthCall(injection->op, injection->n, injection->fault);
  h.Run([&](app::TFrmMain& main) {
    // As the options dialog's OK and the language menu set them.
    main.Settings.FileEndingList = platform::SplitTextLines(kNew.fileFormat);
    main.Settings.ExceptionList = platform::SplitTextLines(kNew.exception);
    main.Settings.ExceptionListLower = settings::ExceptionListLowerOf(main.Settings.ExceptionList);
    main.Settings.AdvancedOptions.fill(true);
    for (settings::SettingsFile file :
         {settings::SettingsFile::kFileFormat, settings::SettingsFile::kException,
          settings::SettingsFile::kAdvancedOption}) {
      main.Settings.MarkChanged(file);
    }
    main.Deutsch1.Click();
    main.Close();
  });
  const std::pair<const char*, std::pair<std::string, std::string>> files[] = {
      {kSettingsFiles[0], {kOld.fileFormat, kNew.fileFormat}},
      {kSettingsFiles[1], {kOld.exception, kNew.exception}},
      {kSettingsFiles[2], {kOld.advancedOption, kNew.advancedOption}},
      {kSettingsFiles[3], {kOld.whichLang, kNew.whichLang}}};
  for (const auto& [path, contents] : files) {
    const std::string now = h.sim.Content(path).value_or("<none>");
    EXPECT_TRUE(now == contents.first || now == contents.second)
        << what << ": " << path << " holds \"" << now << "\"";
    EXPECT_FALSE(h.sim.Exists(std::string(path) + ".new")) << what << ": " << path;
  }
  return CallsOf(h.sim);
}

TEST(FaultSweep, SettingsFilesAreOldOrNewAfterAFailureAtEveryCall) {
  const std::vector<std::uint64_t> calls = SettingsCycleWith(std::nullopt);
  ASSERT_FALSE(::testing::Test::HasFailure());
  int injected = 0;
  for (const Injection& injection : EveryInjection(calls)) {
    SettingsCycleWith(injection);
    ++injected;
    if (::testing::Test::HasFailure()) break;
  }
  EXPECT_GT(injected, 50);
  Announce("settings load and save", injected);
}

}  // namespace
}  // namespace reliability
