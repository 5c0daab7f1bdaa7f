// dustorix.exe started from a script or a console: /analyze and /clean on the sandbox's R:.
#include <gtest/gtest.h>

#include <algorithm>

#include "about/links.h"
#include "platform/text_lines.h"
#include "platform/win32/wide_path.h"
#include "settings/settings_files.h"
#include "tests/win32/event_messages.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"

#include <shlobj.h>

namespace testing_program {
namespace {

using Lines = std::vector<std::string>;
using lang::Text;
using testing_win32::Exists;
using testing_win32::MakeFile;

// A program whose runs take *.tmp, in review mode, which the command line takes as consent.
ProgramFolder CommandProgram(const std::string& language) {
  ProgramFolder folder;
  folder.Write("data\\fileformat.dat", "*.tmp\r\n");
  // No application's entry: a test of them chooses its own.
  folder.Write("data\\cleaners.dat", "");
  settings::Switches on{};
  on[settings::kReviewFirst] = true;
  folder.Write("data\\advancedoption.dat", settings::FormatAdvancedOptions(on));
  folder.Write("data\\lang\\whichlang.dat", "\x02" + language + "\x01");
  return folder;
}

// The lines about R:\cli\ (other tests leave junk on R: too), then the last two: the headline
// and the freed size.
Lines Ours(const std::string& out) {
  const Lines lines = platform::SplitTextLines(out);
  Lines ours;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("R:\\cli\\", 0) == 0 || i + 2 >= lines.size()) ours.push_back(lines[i]);
  }
  return ours;
}

TEST(ProgramCommandLineTest, AnalyzeThenCleanReportOnRedirectedOutputAndInJson) {
  MakeFile("R:\\cli\\a.tmp", "aaaa");
  MakeFile("R:\\cli\\sub\\b.tmp", "bb");
  MakeFile("R:\\cli\\keep.txt", "keep");
  const ProgramFolder folder = CommandProgram("En");
  const lang::LanguageTexts en = LanguageTextsOf(folder, "En");
  const auto settingsFiles = [&] {
    return folder.Read("data\\fileformat.dat") + folder.Read("data\\advancedoption.dat") +
           folder.Read("data\\exception.dat") + folder.Read("data\\lang\\whichlang.dat");
  };
  const std::string settingsBefore = settingsFiles();

  CommandRun run = RunCommand(folder, "/clean R: /bogus");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("unknown argument: /bogus\r\n\r\nDustorix"), std::string::npos) << run.err;
  EXPECT_EQ(RunCommand(folder, "/clean Q:").exitCode, 2);
  EXPECT_TRUE(Exists("R:\\cli\\a.tmp"));

  for (const std::string command : {"analyze", "clean"}) {
    run = RunCommand(folder, "/" + command + " R: /json report.json");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const bool analysis = command == "analyze";
    const Lines lines = Ours(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3),
              (Lines{"R:\\cli\\a.tmp", "R:\\cli\\sub\\b.tmp",
                     en[analysis ? Text::kAnalysisHeadline : Text::kSuccessHeadline]}));
    const std::string unit = en[analysis ? Text::kWouldBeFreedUnit : Text::kFreedUnit];
    EXPECT_TRUE(lines[3].ends_with(unit)) << lines[3];
    const std::string json = folder.Read("report.json");
    for (const std::string& part :
         {"\"version\": \"" + std::string(about::kVersion) + "\"", "\"command\": \"" + command,
          std::string("\"drives\": \"R:\""), std::string("\"R:\\\\cli\\\\sub\\\\b.tmp\""),
          std::string("\"exitCode\": 0")}) {
      EXPECT_NE(json.find(part), std::string::npos) << part << " in\n" << json;
    }
    EXPECT_EQ(Exists("R:\\cli\\a.tmp"), analysis);
  }
  EXPECT_TRUE(Exists("R:\\cli\\keep.txt"));
  EXPECT_EQ(settingsFiles(), settingsBefore);
  testing_win32::RemoveTree("R:\\cli");
}

// What a launcher's bare environment makes of the temporary folder (Windows names the profile,
// then the Windows folder), and a TEMP that is a link to another drive's root: left whole and
// said so, while the junk still goes.
TEST(ProgramCommandLineTest, ABareEnvironmentOrATempLinkedToADriveRootTakesOnlyTheJunk) {
  ProgramFolder folder = CommandProgram("En");
  settings::Switches on{};
  on[settings::kReviewFirst] = true;
  on[settings::kTempFolders] = true;
  folder.Write("data\\advancedoption.dat", settings::FormatAdvancedOptions(on));
  const lang::LanguageTexts en = LanguageTextsOf(folder, "En");
  wchar_t windows[MAX_PATH] = {};
  ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  const auto variable = [](const wchar_t* name) -> std::optional<std::wstring> {
    wchar_t value[32768];
    const DWORD length = ::GetEnvironmentVariableW(name, value, 32768);
    if (length == 0 || length >= 32768) return std::nullopt;
    return std::wstring(value, length);
  };
  const std::optional<std::wstring> profile = variable(L"USERPROFILE");
  ASSERT_TRUE(profile);
  const std::vector<std::string> canaries = {
      platform::win32::Narrow(*profile) + "\\canary-bare.txt",
      platform::win32::Narrow(windows) + "\\canary-bare.txt", "R:\\bare\\keep.txt"};
  for (const std::string& canary : canaries)
    MakeFile(canary, "canary");

  using Environment = std::vector<std::pair<const wchar_t*, const wchar_t*>>;
  for (const Environment& environment :
       {Environment{{L"TMP", nullptr}, {L"TEMP", nullptr}, {L"USERPROFILE", nullptr}},
        Environment{{L"TMP", nullptr}, {L"TEMP", nullptr}},
        Environment{{L"TMP", nullptr}, {L"TEMP", L"T:\\fixtures\\driveroot"}}}) {
    MakeFile("R:\\bare\\a.tmp", "junk");
    std::vector<std::pair<const wchar_t*, std::optional<std::wstring>>> saved;
    for (const auto& [name, value] : environment) {
      saved.emplace_back(name, variable(name));
      ::SetEnvironmentVariableW(name, value);
    }
    const CommandRun run = RunCommand(folder, "/clean R:");
    for (const auto& [name, value] : saved)
      ::SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string leftAlone = en[Text::kPlaceLeftAlone];
    EXPECT_NE(run.out.find(leftAlone.substr(leftAlone.find('%') + 2, 12)), std::string::npos)
        << run.out;
    EXPECT_FALSE(Exists("R:\\bare\\a.tmp")) << run.out;
    for (const std::string& canary : canaries)
      EXPECT_TRUE(Exists(canary)) << canary << "\n" << run.out;
  }
  for (const std::string& canary : canaries)
    ::DeleteFileW(testing_win32::WidePath(canary).c_str());
}

// A chosen application entry runs on the command line as in the window: an analysis announces
// it, the clean run takes its junk and keeps the rest, and the JSON report has it as a step.
TEST(ProgramCommandLineTest, AChosenApplicationEntryIsAStepOfTheRunAndOfItsJson) {
  wchar_t appData[MAX_PATH + 1] = {};
  ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData), S_OK);
  const std::string zoom = platform::win32::Narrow(appData) + "\\Zoom";
  MakeFile(zoom + "\\logs\\zoom_0.log", 700);
  MakeFile(zoom + "\\data\\zoomus.enc.db", "keep");
  const ProgramFolder folder = CommandProgram("En");
  folder.Write("data\\cleaners.dat", "Zoom\r\n");
  for (const std::string command : {"analyze", "clean"}) {
    const CommandRun run = RunCommand(folder, "/" + command + " R: /json report.json");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Zoom: 1 file, 0.7 KB\r\n"), std::string::npos) << run.out;
    const std::string json = folder.Read("report.json");
    EXPECT_NE(json.find("{\"step\": \"cleaner\", \"name\": \"Zoom\", \"files\": 1, \"bytes\": 700, "
                        "\"registryItems\": 0}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"refused\": [],"), std::string::npos) << json;
    EXPECT_EQ(Exists(zoom + "\\logs\\zoom_0.log"), command == "analyze");
  }
  EXPECT_EQ(testing_win32::ReadAll(zoom + "\\data\\zoomus.enc.db"), "keep");
  testing_win32::RemoveTree(zoom);
}

TEST(ProgramCommandLineTest, OnAConsoleTheReportIsWrittenInUtf16) {
  if (!HaveDisplay()) GTEST_SKIP() << "Wine gives a console a screen only with a display";
  MakeFile("R:\\cli\\\xCE\xB5\\c.tmp", "c");  // a Greek folder name: ε
  const ProgramFolder folder = CommandProgram("Gr");
  const lang::LanguageTexts gr = LanguageTextsOf(folder, "Gr");
  const std::vector<std::wstring> lines = RunOnConsole(folder, "/analyze R:");
  for (const std::string& expected :
       {std::string("R:\\cli\\\xCE\xB5\\c.tmp"), gr[Text::kAnalysisHeadline]}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), testing_win32::W(expected)), lines.end())
        << expected;
  }
  testing_win32::RemoveTree("R:\\cli");
}

// The program is its event source's message file: each outcome's id has its text, and the
// record's insertion strings land where the text names them.
TEST(ProgramCommandLineTest, TheProgramCarriesTheTextOfEveryRecordItWrites) {
  const ProgramFolder folder = CommandProgram("En");
  const std::wstring program = testing_win32::W(folder.File("dustorix.exe"));
  const std::vector<std::wstring> strings = {L"/clean all", L"12", L"34567", L"C:\\r.json",
                                             L"the reason"};
  for (int exitCode = 0; exitCode <= 5; ++exitCode) {
    SCOPED_TRACE(exitCode);
    const std::string text = testing_win32::EventMessage(program, 1000 + exitCode, strings);
    ASSERT_TRUE(text.starts_with("Dustorix /clean all: ")) << text;
    for (const std::string& part :
         {std::string("\r\nFiles: 12\r\nBytes: 34567\r\nJSON report: C:\\r.json\r\n"),
          "Exit code: " + std::to_string(exitCode) + " ("}) {
      EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
    }
    // Only a refusal's text names its reason; the others say it in their own words.
    EXPECT_EQ(text.find("the reason") != std::string::npos, exitCode == 1 || exitCode == 2) << text;
  }
  EXPECT_EQ(testing_win32::EventMessage(program, 1006, strings), "");
}

}  // namespace
}  // namespace testing_program
