// The command line of unattended runs: its arguments, and /analyze and /clean on the sim.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include "about/links.h"
#include "platform/sim/sim_console.h"
#include "platform/sim/sim_event_log.h"
#include "tests/clean/run_harness.h"

namespace testing_app {
namespace {

using Args = std::vector<std::string>;

std::string Parsed(const Args& args) {
  std::string error;
  const std::optional<app::CommandLine> line = app::ParseCommandLine(args, error);
  if (!line) return "error: " + error;
  if (line->action == app::CommandLine::Action::kUsage) return "usage";
  std::string drives = line->drives.allDrives ? "all" : std::string{line->drives.letter, ':'};
  return (line->action == app::CommandLine::Action::kClean ? "clean " : "analyze ") + drives + " " +
         line->dataFolder + " " + line->jsonFile;
}

TEST(CommandLineTest, ArgumentsAreTakenAsTheUsageSaysAndNothingElse) {
  const std::pair<Args, std::string> cases[] = {
      {{"/analyze"}, "analyze all  "},
      {{"/CLEAN", "e:"}, "clean E:  "},
      {{"/json", "r.json", "/Analyze", "c:\\", "/data", "D:\\x"}, "analyze C: D:\\x r.json"},
      {{"/clean", "ALL", "/data", "/x"}, "clean all /x "},
      {{"/clean", "/bogus", "/?"}, "usage"},
      {{}, "error: give /analyze or /clean"},
      {{"/data", "x"}, "error: give /analyze or /clean"},
      {{"/clean", "/analyze"}, "error: give only one of /analyze and /clean"},
      {{"/clean", "C:", "D:"}, "error: unknown argument: D:"},
      {{"/clean", "CC:"}, "error: not a drive: CC: (give X: or all)"},
      {{"/clean", "1:"}, "error: not a drive: 1: (give X: or all)"},
      {{"/clean", "C:\\x"}, "error: not a drive: C:\\x (give X: or all)"},
      {{"/clean", "/data"}, "error: /data needs a folder"},
      {{"/clean", "/json", ""}, "error: /json needs a file"},
      {{"/clean", "/data", "a", "/DATA", "b"}, "error: /data is given twice"},
      {{"clean"}, "error: unknown argument: clean"},
  };
  for (const auto& [args, expected] : cases)
    EXPECT_EQ(Parsed(args), expected) << ::testing::PrintToString(args);
}

class CommandLineRunTest : public ::testing::Test {
 protected:
  CommandLineRunTest() {
    h.Patterns("*.tmp\r\n");
    h.sim.AddFile("E:\\junk\\a.tmp", "aaaa");
    h.sim.AddFile("E:\\junk\\sub\\b.tmp", std::string(2000, 'b'));
    h.sim.AddFile("E:\\junk\\keep.txt", "keep");
  }
  int Run(const Args& args) { return app::RunCommandLine(h.faults, console, eventLog, args); }
  std::string Json() { return h.sim.Content("C:\\Dustorix\\r.json").value_or("<none>"); }
  // The event log's record of the last run: its id, type and insertion strings.
  std::string Recorded() {
    if (eventLog.records.empty()) return "<no record>";
    const platform::EventRecord& record = eventLog.records.back();
    static constexpr const char* kTypes[] = {"information", "warning", "error"};
    std::string text = std::to_string(record.id) + " " + kTypes[static_cast<int>(record.type)];
    for (const std::string& part : record.strings)
      text += " | " + part;
    return text;
  }

  RunHarness h;
  platform::sim::SimConsole console;
  platform::sim::SimEventLog eventLog;
};

TEST_F(CommandLineRunTest, AnAnalysisAnnouncesExactlyWhatTheCleanRunThenDoes) {
  SeedCleanupPlaces(h.sim);
  // A lone surrogate, which only an escape carries, and a pair, which UTF-8 does.
  h.sim.AddFile("E:\\junk\\\xCE\xA9\xED\xA0\x80\xF0\x9F\x98\x80.tmp", "odd name");
  h.sim.AddFile("E:\\junk\\empty.log", "");
  h.Switches(
      {settings::kZeroByteFiles, settings::kHistory, settings::kUnusedDlls, settings::kRunList});
  const std::string before = h.sim.Dump("E:\\") + h.sim.Dump("C:\\Program Files");
  ASSERT_EQ(Run({"/analyze", "E:", "/json", "r.json"}), app::kExitDone) << console.err;
  EXPECT_EQ(h.sim.Dump("E:\\") + h.sim.Dump("C:\\Program Files"), before);
  const std::string announced = Json();
  // As a review shows them: the unused library's line in the registry belongs to its file.
  const std::string categories =
      R"(  "categories": [
    {"category": "foundFiles", "name": ")" +
      En(Text::kFoundFilesCategory) + R"(", "items": 3, "bytes": 2012},
    {"category": "emptyFiles", "name": ")" +
      En(Text::kEmptyFilesCategory) + R"(", "items": 1, "bytes": 0},
    {"category": "history", "name": ")" +
      En(Text::kHistoryCaption) + R"(", "items": 1, "bytes": 100},
    {"category": "unusedDlls", "name": ")" +
      En(Text::kUnusedDllsCaption) + R"(", "items": 1, "bytes": 4000},
    {"category": "runList", "name": ")" +
      En(Text::kRunListCaption) + R"(", "items": 1, "bytes": 0}
  ],
)";
  EXPECT_EQ(announced, R"({
  "program": "Dustorix",
  "version": ")" + std::string(about::kVersion) +
                           R"(",
  "command": "analyze",
  "drives": "E:",
  "start": "2024-05-01T03:00:00Z",
  "end": "2024-05-01T03:00:00Z",
  "outcome": "completed",
  "exitCode": 0,
  "files": [
    "E:\\junk\\a.tmp",
    "E:\\junk\\Ω\ud800😀.tmp",
    "E:\\junk\\empty.log",
    "E:\\junk\\sub\\b.tmp",
    "C:\\Program Files\\Old\\unused.dll"
  ],
  "browsersLeftAlone": [],
  "scan": {"files": 4, "bytes": 2012},
  "steps": [
    {"step": "history", "name": ")" +
                           En(Text::kHistoryCaption) + R"(", "files": 1, "bytes": 100},
    {"step": "unusedDlls", "name": ")" +
                           En(Text::kUnusedDllsCaption) + R"(", "files": 1, "bytes": 4000},
    {"step": "runList", "name": ")" +
                           En(Text::kRunListCaption) + R"(", "files": 0, "bytes": 0}
  ],
  "refused": [],
)" + categories + R"(  "total": {"files": 6, "bytes": 6112, "recycled": {"files": 0, "bytes": 0}}
}
)");
  const std::string out =
      "E:\\junk\\a.tmp\r\nE:\\junk\\\xCE\xA9\xED\xA0\x80\xF0\x9F\x98\x80.tmp\r\n"
      "E:\\junk\\empty.log\r\nE:\\junk\\sub\\b.tmp\r\n" +
      En(Text::kHistoryCaption, 1, 100) + "\r\nC:\\Program Files\\Old\\unused.dll\r\n" +
      En(Text::kRunListCaption) + "\r\n" + En(Text::kAnalysisHeadline) + "\r\n5" +
      En(Text::kWouldBeFreedUnit) + "\r\n";
  EXPECT_EQ(console.out, out);
  EXPECT_EQ(Recorded(),
            "1000 information | /analyze E: /json r.json | 6 | 6112 | C:\\Dustorix\\r.json | ");

  console.out.clear();
  ASSERT_EQ(Run({"/clean", "E:", "/json", "r.json"}), app::kExitDone) << console.err;
  EXPECT_EQ(Recorded(),
            "1000 information | /clean E: /json r.json | 6 | 6112 | C:\\Dustorix\\r.json | ");
  EXPECT_EQ(eventLog.records.size(), 2u) << "one record a run";
  // The same categories with the same figures: what the analysis announced is what went.
  std::string done = announced;
  done.replace(done.find("analyze"), 7, "clean");
  EXPECT_EQ(Json(), done);
  EXPECT_FALSE(h.sim.Exists("E:\\junk\\a.tmp"));
  EXPECT_FALSE(h.sim.Exists("C:\\Program Files\\Old\\unused.dll"));
  EXPECT_TRUE(h.sim.Exists("E:\\junk\\keep.txt"));
  EXPECT_NE(console.out.find(En(Text::kSuccessHeadline) + "\r\n5" + En(Text::kFreedUnit)),
            std::string::npos);
}

TEST_F(CommandLineRunTest, CleanTakesEveryFindOfAReviewLeavesARunningBrowserAndOnlyReads) {
  SeedCleanupPlaces(h.sim);
  h.sim.SetRunning("chrome.exe");
  h.Switches({settings::kReviewFirst, settings::kCookies});
  // Never started with a window, so no language was chosen: English.
  h.sim.DeleteFile("data\\lang\\whichlang.dat");
  h.sim.AddFolder("C:\\Elsewhere");
  h.sim.SetCurrentDirectory("C:\\Elsewhere");
  const std::string before = h.sim.Dump("C:\\Dustorix") + h.sim.Dump("C:\\Elsewhere");
  EXPECT_EQ(Run({"/clean", "/data", "C:\\Dustorix\\data\\", "/json", "E:\\r.json"}), app::kExitDone)
      << console.err;
  EXPECT_NE(
      h.sim.Content("E:\\r.json")->find("\"browsersLeftAlone\": [\n    \"Google Chrome\"\n  ],"),
      std::string::npos);
  EXPECT_TRUE(
      h.sim.Exists("C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\Network\\Cookies"));
  EXPECT_FALSE(h.sim.Exists("E:\\junk\\a.tmp"));
  EXPECT_FALSE(h.sim.Exists("E:\\junk\\sub\\b.tmp"));
  EXPECT_EQ(h.sim.Dump("C:\\Dustorix") + h.sim.Dump("C:\\Elsewhere"), before);
  EXPECT_NE(console.out.find(En(Text::kSuccessHeadline)), std::string::npos);
}

// Each chosen entry is a step of the JSON report under its rule file's name; a running program
// and the keys the guards refused are told there too.
TEST_F(CommandLineRunTest, ApplicationEntriesAreStepsOfTheReportWithTheirRefusedKeys) {
  SeedCleanupPlaces(h.sim);
  h.Switches({});
  h.sim.AddFile("data\\cleaners\\rules.ini",
                "[Chat *]\r\nFileKey1=%LocalAppData%\\Chat\\Cache|*\r\n"
                "FileKey2=%LocalAppData%|*|RECURSE\r\n"
                "[Game]\r\nRunning=game.exe\r\nFileKey1=%LocalAppData%\\Game|*.log\r\n");
  h.sim.AddFile("data\\cleaners.dat", "Chat *\r\nGame\r\n");
  h.sim.AddFile("C:\\Users\\me\\Local\\Chat\\Cache\\c1", std::string(300, 'c'));
  h.sim.AddFile("C:\\Users\\me\\Local\\Game\\g.log", "g");
  h.sim.SetRunning("game.exe");
  ASSERT_EQ(Run({"/clean", "E:", "/json", "r.json"}), app::kExitDone) << console.err;
  const std::string json = Json();
  EXPECT_NE(json.find(R"(  "steps": [
    {"step": "cleaner", "name": "Chat *", "files": 1, "bytes": 300, "registryItems": 0},
    {"step": "cleaner", "name": "Game", "files": 0, "bytes": 0, "registryItems": 0, "running": "game.exe"}
  ],
  "refused": [
    {"entry": "Chat *", "key": "FileKey2", "value": "%LocalAppData%|*|RECURSE", "reason": "protectedFolder", "detail": "C:\\Users\\me\\Local"}
  ],
  "categories": [
    {"category": "foundFiles", "name": ")" +
                      En(Text::kFoundFilesCategory) + R"(", "items": 2, "bytes": 2004},
    {"category": "cleaner.Chat *", "name": "Chat", "items": 1, "bytes": 300}
  ],
  "total": {"files": 3, "bytes": 2304, "recycled": {"files": 0, "bytes": 0}}
)"),
            std::string::npos)
      << json;
  const std::string figures = En(Text::kOk, 1, 300).substr(En(Text::kOk).size());
  EXPECT_NE(console.out.find("\r\nChat" + figures + "\r\n"), std::string::npos) << console.out;
  EXPECT_FALSE(h.sim.Exists("C:\\Users\\me\\Local\\Chat\\Cache\\c1"));
  EXPECT_TRUE(h.sim.Exists("C:\\Users\\me\\Local\\Game\\g.log"));
  EXPECT_TRUE(h.sim.Exists("C:\\Users\\me\\Local\\item.dat"));
}

// An unattended analysis names the categories a review shows, with the same figures.
TEST_F(CommandLineRunTest, AnAnalysisReportsTheCategoriesTheReviewShows) {
  SeedCleanupPlaces(h.sim);
  h.sim.AddFile("E:\\junk\\empty.log", "");
  h.Switches({settings::kReviewFirst, settings::kZeroByteFiles, settings::kCookies,
              settings::kTempInternetFiles, settings::kRunList});
  EXPECT_EQ(Run({"/analyze", "E:", "/json", "r.json"}), 0);
  const std::string json = Json();
  std::vector<std::pair<std::string, std::string>> rows;
  h.CleanOnce('E', [&](clean::TFrmmarkfile& review) {
    for (int i = 0; i < review.LVmarkfile.RowCount(); ++i)
      rows.emplace_back(review.LVmarkfile.Cell(i, 0), review.LVmarkfile.Cell(i, 1));
    review.Close();
  });
  ASSERT_GE(rows.size(), 5u);
  std::size_t at = json.find("\"categories\": [");
  ASSERT_NE(at, std::string::npos) << json;
  for (const auto& [name, files] : rows) {
    const std::string entry = "\"name\": \"" + name + "\", \"items\": " + files + ",";
    at = json.find(entry, at);
    EXPECT_NE(at, std::string::npos) << entry << "\n" << json;
  }
  EXPECT_NE(json.find("{\"category\": \"foundFiles\", \"name\": \"" +
                      En(Text::kFoundFilesCategory) + "\", \"items\": 2, \"bytes\": 2004}"),
            std::string::npos)
      << json;
}

// The command is the consent a review would ask for: review mode makes no difference.
TEST_F(CommandLineRunTest, CtrlCStopsTheRunWithOrWithoutReviewMode) {
  for (const bool review : {false, true}) {
    SCOPED_TRACE(review ? "review mode" : "no review");
    h.sim.AddFile("E:\\junk\\a.tmp", "aaaa");
    h.Switches(
        review ? std::initializer_list<settings::Switch>{settings::kReviewFirst, settings::kRunList}
               : std::initializer_list<settings::Switch>{settings::kRunList});
    console = {};
    console.onInterruptCheck = [](platform::sim::SimConsole& c) { c.interrupted = true; };
    EXPECT_EQ(Run({"/clean", "E:", "/json", "r.json"}), app::kExitStopped);
    EXPECT_NE(console.out.find(En(Text::kStoppedHeadline)), std::string::npos);
    EXPECT_EQ(console.out.find(En(Text::kRunListReport)), std::string::npos) << "no step ran";
    EXPECT_NE(Json().find("\"outcome\": \"stopped\",\n  \"exitCode\": 4"), std::string::npos);
    EXPECT_EQ(Recorded(),
              "1004 warning | /clean E: /json r.json | 1 | 4 | C:\\Dustorix\\r.json | "
              "stopped by Ctrl+C or Ctrl+Break");
    EXPECT_TRUE(h.sim.Exists("E:\\junk\\sub\\b.tmp"));
    EXPECT_FALSE(h.sim.Exists("E:\\junk\\a.tmp"));
  }
}

TEST_F(CommandLineRunTest, RefusalsDoNothingAndSayWhy) {
  bool broadcast = false;
  h.sim.onBroadcast = [&](std::uint32_t) { broadcast = true; };
  const auto refused = [&](const Args& args, int code, const std::string& message,
                           const std::string& record) {
    console = {};
    EXPECT_EQ(Run(args), code) << ::testing::PrintToString(args);
    EXPECT_NE(console.err.find(message), std::string::npos) << console.err;
    EXPECT_EQ(Recorded(), record);
    EXPECT_TRUE(h.sim.Exists("E:\\junk\\a.tmp"));
    EXPECT_FALSE(h.sim.Exists("C:\\Dustorix\\r.json"));
  };
  refused({"/clean", "/frob"}, app::kExitBadArguments, "unknown argument: /frob\r\n\r\nDustorix",
          "1002 error | /clean /frob | 0 | 0 | none | unknown argument: /frob");
  refused({"/clean", "Q:"}, app::kExitBadArguments,
          "there is no drive Q:", "1002 error | /clean Q: | 0 | 0 | none | there is no drive Q:");
  refused({"/clean", "/json", "C:\\no such\\r.json", "/data", ""}, app::kExitBadArguments,
          "needs a folder",
          "1002 error | /clean /json \"C:\\no such\\r.json\" /data \"\" | 0 | 0 | none | /data "
          "needs a folder");
  refused({"/clean", "/json", "C:\\no such\\r.json"}, app::kExitBadArguments, "cannot be written",
          "1002 error | /clean /json \"C:\\no such\\r.json\" | 0 | 0 | C:\\no such\\r.json | "
          "the report cannot be written to C:\\no such\\r.json: its folder cannot be written");
  refused({"/clean", "/data", "C:\\missing"}, app::kExitSettingsUnreadable, "no data folder",
          "1001 error | /clean /data C:\\missing | 0 | 0 | none | "
          "there is no data folder C:\\missing");
  h.faults.FailPath(platform::sim::Op::kReadFile, "data\\exception.dat");
  refused({"/clean"}, app::kExitSettingsUnreadable, "",
          "1001 error | /clean | 0 | 0 | none | a settings file could not be read");
  EXPECT_NE(console.out.find(En(Text::kSettingsUnreadable)), std::string::npos);
  h.faults.ClearFailures();
  bool existed = false;
  const auto window = h.sim.CreateNamedSemaphore(app::InstanceName, existed);
  refused({"/clean"}, app::kExitAlreadyRunning, "already running",
          "1003 warning | /clean | 0 | 0 | none | Dustorix is already running");
  EXPECT_FALSE(broadcast) << "a running window stays where it is";
  EXPECT_EQ(eventLog.records.size(), 7u) << "one record a run";

  console = {};
  EXPECT_EQ(Run({"/clean", "/?"}), app::kExitDone);
  EXPECT_EQ(eventLog.records.size(), 7u) << "the usage is no run";
}

TEST_F(CommandLineRunTest, AReportThatCannotBeWrittenAfterTheRunIsAFailure) {
  h.faults.FailPath(platform::sim::Op::kReplaceFile, "r.json");
  EXPECT_EQ(Run({"/clean", "/json", "r.json"}), app::kExitReportNotWritten);
  EXPECT_FALSE(h.sim.Exists("E:\\junk\\a.tmp"));
  EXPECT_FALSE(h.sim.Exists("C:\\Dustorix\\r.json.new"));
  EXPECT_NE(console.err.find("could not be written to r.json"), std::string::npos);
  EXPECT_EQ(Recorded(),
            "1005 error | /clean /json r.json | 2 | 2004 | C:\\Dustorix\\r.json | "
            "the report could not be written to r.json");
}

// The report never overwrites what it finds beside its name, and a target it could not take is
// refused before anything is removed.
TEST_F(CommandLineRunTest, TheReportTakesANewFileAndAnUnfitTargetStopsTheRunFirst) {
  h.sim.AddFolder("C:\\Dustorix\\folder.json");
  h.sim.AddFile("C:\\Dustorix\\locked.json", "old", platform::attr::kReadOnly);
  for (const char* target : {"folder.json", "locked.json"}) {
    console = {};
    EXPECT_EQ(Run({"/clean", "/json", target}), app::kExitBadArguments) << target;
    EXPECT_NE(console.err.find(std::string("cannot be written to ") + target), std::string::npos)
        << console.err;
    EXPECT_TRUE(h.sim.Exists("E:\\junk\\a.tmp")) << target;
  }
  EXPECT_EQ(h.sim.Content("C:\\Dustorix\\locked.json"), "old");

  h.sim.AddFile("C:\\Dustorix\\r.json.new", "the user's own");
  h.sim.AddFile("C:\\elsewhere\\thesis.txt", "thesis");
  h.sim.AddFileLink("C:\\Dustorix\\r.json.new2", "C:\\elsewhere\\thesis.txt");
  EXPECT_EQ(Run({"/clean", "/json", "r.json"}), app::kExitDone);
  EXPECT_NE(Json().find("\"outcome\": \"completed\""), std::string::npos) << Json();
  EXPECT_EQ(h.sim.Content("C:\\Dustorix\\r.json.new"), "the user's own");
  EXPECT_EQ(h.sim.Content("C:\\elsewhere\\thesis.txt"), "thesis");
  EXPECT_FALSE(h.sim.Exists("C:\\Dustorix\\r.json.new3"));
}

}  // namespace
}  // namespace testing_app
