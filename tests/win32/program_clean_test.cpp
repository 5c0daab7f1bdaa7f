// Clean runs of the real dustorix.exe on a drive of the sandbox, driven through its windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "cleaners/places.h"
#include "cleaners/rule_file.h"
#include "cleanups/special_steps.h"
#include "lang/quantities.h"
#include "platform/text_lines.h"
#include "platform/win32/win32_system.h"
#include "settings/settings_files.h"
#include "tests/cleaners/app_junk_table.h"
#include "tests/platform/pe_image.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"
#include "tests/win32/window_check.h"

#include <shlobj.h>

namespace testing_program {
namespace {

using Lines = std::vector<std::string>;
using testing_win32::Entries;
using testing_win32::Exists;
using testing_win32::MakeFile;

// A program whose clean runs take *.tmp on R:, the removable drive of the sandbox, which no
// other test uses; `switches` are the advanced switches that are on.
class CleanProgram {
 public:
  explicit CleanProgram(std::initializer_list<settings::Switch> switches) {
    settings::Switches on{};
    for (settings::Switch i : switches)
      on[i] = true;
    folder_.Write("data\\advancedoption.dat", settings::FormatAdvancedOptions(on));
    folder_.Write("data\\fileformat.dat", "*.tmp\r\n");
    // No application's entry: a test of them chooses its own.
    folder_.Write("data\\cleaners.dat", "");
    folder_.Write("data\\lang\\whichlang.dat", std::string("\x02"
                                                           "En\x01",
                                                           4));
  }

  // Starts the program, chooses R: and presses `button`.
  HWND Start(const char* button = "&Delete") {
    program_ = std::make_unique<Program>(folder_);
    main_ = program_->WaitForWindow(L"TFrmMain");
    if (!main_) return nullptr;
    HWND drives = FindChild(main_, L"ComboBox");
    const LRESULT count = ::SendMessageW(drives, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t line[64] = {};
      ::SendMessageW(drives, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
      if (line[0] == L'r') ChooseComboLine(drives, static_cast<int>(i));
    }
    Click(FindChild(main_, L"Button", " "));  // the radio button beside the drive box
    Press(button);
    return main_;
  }
  void Press(const char* button) {
    ::PostMessageW(FindChild(main_, L"Button", button), BM_CLICK, 0, 0);
  }

  // Closes the review with its close box: nothing is removed.
  void LeaveReview() {
    HWND review = program_->WaitForWindow(L"TFrmmarkfile");
    ASSERT_NE(review, nullptr);
    ::PostMessageW(review, WM_CLOSE, 0, 0);
    for (int waited = 0; waited < 5000 && ::IsWindowVisible(review); waited += 20)
      ::Sleep(20);
  }

  // Reads the report and closes it; its caption goes to `caption`, and with `look` the window is
  // looked at first.
  Lines CloseReport(std::string* caption = nullptr,
                    const std::function<void(HWND)>& look = nullptr) {
    HWND report = program_->WaitForWindow(L"TFrmDelinfo");
    EXPECT_NE(report, nullptr);
    if (!report) return {};
    Lines lines = ListBoxLines(FindChild(report, L"ListBox"));
    if (caption) *caption = WindowText(report);
    if (look) look(report);
    ::PostMessageW(report, WM_CLOSE, 0, 0);
    for (int waited = 0; waited < 5000 && ::IsWindowVisible(report); waited += 20)
      ::Sleep(20);
    return lines;
  }

  // Reads the report, closes it and the program.
  Lines FinishWithReport() {
    Lines lines = CloseReport();
    Close();
    return lines;
  }
  void Close() {
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(program_->WaitForExit(), 0);
  }

  Program& Running() { return *program_; }
  const ProgramFolder& Folder() const { return folder_; }
  // A step's report line in English, with the files it removed and what they freed.
  std::string StepLine(lang::Text text, std::uint64_t files, std::uint64_t bytes) const {
    const lang::LanguageTexts en = LanguageTextsOf(folder_, "En");
    return en[text] + ": " + lang::FilesAndSize(files, bytes, en);
  }

 private:
  ProgramFolder folder_;
  std::unique_ptr<Program> program_;
  HWND main_ = nullptr;
};

class ProgramCleanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "no display";
  }
  void ReviewRemovesTheTickedCategories(bool analyze);
};

TEST_F(ProgramCleanTest, DeletesExactlyTheJunkAndNothingBehindALink) {
  MakeFile("R:\\del\\a.tmp", "aaaa");
  MakeFile("R:\\del\\sub\\b.TMP", "bb");
  MakeFile("R:\\del\\keep.txt", "keep");
  MakeFile("R:\\del\\readonly.tmp", "ro", FILE_ATTRIBUTE_READONLY);
  MakeFile("R:\\del\\system.tmp", "sys", FILE_ATTRIBUTE_SYSTEM);
  MakeFile("R:\\del\\document.tmp123", "doc");
  CleanProgram program({});
  ASSERT_NE(program.Start(), nullptr);
  Lines lines = program.FinishWithReport();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (Lines{"R:\\del\\a.tmp", "R:\\del\\sub\\b.TMP"}));
  EXPECT_FALSE(Exists("R:\\del\\a.tmp"));
  EXPECT_FALSE(Exists("R:\\del\\sub\\b.TMP"));
  for (const char* kept : {"R:\\del\\keep.txt", "R:\\del\\readonly.tmp", "R:\\del\\system.tmp",
                           "R:\\del\\document.tmp123", "R:\\fixtures\\link\\keep.txt",
                           "R:\\fixtures\\thesis-backup.tmp"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
}

// A path past what the shell takes stays where it is, and neither the window nor the command
// line crashes or waits for anyone on it.
TEST_F(ProgramCleanTest, TheRecycleBinKeepsWhatItTakesAndAPathTooLongForItStays) {
  MakeFile("R:\\bin\\recycled.tmp", "recycle me");
  const std::string deep =
      "R:\\bin\\" + std::string(200, 'd') + "\\" + std::string(200, 'e') + ".tmp";
  MakeFile(deep, "deep");
  CleanProgram program({settings::kRecycleFound});
  const lang::LanguageTexts en = LanguageTextsOf(program.Folder(), "En");
  const std::string tooLong = lang::Filled(en[lang::Text::kRecyclePathTooLong], {deep});
  ASSERT_NE(program.Start(), nullptr);
  // What went to the bin frees nothing yet: the report tells it apart.
  std::string value;
  const Lines lines = program.CloseReport(nullptr, [&](HWND report) {
    for (int i = 0; HWND label = FindChild(report, L"Static", {}, i); ++i) {
      if (WindowText(label).find(en[lang::Text::kFreedUnit]) != std::string::npos)
        value = WindowText(label);
    }
    Shoot(report, "En-report-recycled");
  });
  program.Close();
  std::erase(value, '\r');
  EXPECT_EQ(value, "0" + en[lang::Text::kFreedUnit] + "\n" +
                       lang::Filled(en[lang::Text::kRecycledApart], {"0"}));
  // The sandbox's link to a file outside is no file to hand over either.
  EXPECT_EQ(
      lines,
      (Lines{"R:\\bin\\recycled.tmp", tooLong,
             lang::Filled(en[lang::Text::kRecycleRefused], {"R:\\fixtures\\thesis-backup.tmp"})}));
  EXPECT_FALSE(Exists("R:\\bin\\recycled.tmp"));
  EXPECT_TRUE(Exists("W:\\files\\recycled.tmp"));  // the sandbox's recycle bin
  EXPECT_TRUE(Exists(deep));

  const CommandRun run = RunCommand(program.Folder(), "/clean R:");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find(tooLong), std::string::npos) << run.out;
  EXPECT_TRUE(Exists(deep));
  testing_win32::RemoveTree("R:\\bin");
}

// The review lists categories, all ticked: a plain click on a row ticks nothing, a click on a
// box unticks that category alone, and "Clean up" removes what stayed ticked. Analyze shows the
// same review, also without review mode, and its "Clean up" is a clean.
TEST_F(ProgramCleanTest, TheReviewRemovesExactlyTheTickedCategories) {
  for (const bool analyze : {false, true}) {
    SCOPED_TRACE(analyze ? "Analyze" : "Delete in review mode");
    ReviewRemovesTheTickedCategories(analyze);
  }
}

void ProgramCleanTest::ReviewRemovesTheTickedCategories(bool analyze) {
  MakeFile("R:\\rev\\a.tmp", "aaaa");
  MakeFile("R:\\rev\\b.tmp", "bb");
  MakeFile("R:\\rev\\empty.txt", "");
  // Analyze is tried with review mode off.
  CleanProgram program(
      {settings::kZeroByteFiles, analyze ? settings::kZeroByteFiles : settings::kReviewFirst});
  ASSERT_NE(program.Start(analyze ? "A&nalyze" : "&Delete"), nullptr);
  HWND review = program.Running().WaitForWindow(L"TFrmmarkfile");
  ASSERT_NE(review, nullptr);
  const lang::LanguageTexts en = LanguageTextsOf(program.Folder(), "En");
  HWND list = FindListView(review);
  ASSERT_EQ(ListViewRowCount(list), 2);
  EXPECT_EQ(ListViewCell(list, 0, 0), en[lang::Text::kFoundFilesCategory]);
  EXPECT_EQ(ListViewCell(list, 1, 0), en[lang::Text::kEmptyFilesCategory]);
  EXPECT_TRUE(ClickListViewRow(list, 1));
  EXPECT_EQ(ListViewRowChecked(list, 0), true);
  EXPECT_EQ(ListViewRowChecked(list, 1), true);
  EXPECT_TRUE(ClickListViewCheckBox(list, 1));
  EXPECT_EQ(ListViewRowChecked(list, 1), false);
  EXPECT_EQ(ListViewRowChecked(list, 0), true);
  PostClick(FindChild(review, L"Button", en[lang::Text::kCleanUp]));
  std::string caption;
  const Lines lines = program.CloseReport(&caption);
  program.Close();
  EXPECT_EQ(caption, en[lang::Text::kReportTitle]);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "R:\\rev\\a.tmp"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "R:\\rev\\b.tmp"), lines.end());
  EXPECT_EQ(std::find(lines.begin(), lines.end(), "R:\\rev\\empty.txt"), lines.end());
  EXPECT_FALSE(Exists("R:\\rev\\a.tmp"));
  EXPECT_FALSE(Exists("R:\\rev\\b.tmp"));
  EXPECT_TRUE(Exists("R:\\rev\\empty.txt"));
  testing_win32::RemoveTree("R:\\rev");
}

// "View files" lists a category's files with their folders; a file unticked there stays and is
// the only one that does.
TEST_F(ProgramCleanTest, AFileUntickedInViewFilesStays) {
  MakeFile("R:\\one\\keep.tmp", "keep");
  MakeFile("R:\\one\\go.tmp", "go");
  CleanProgram program({settings::kReviewFirst});
  ASSERT_NE(program.Start(), nullptr);
  HWND review = program.Running().WaitForWindow(L"TFrmmarkfile");
  ASSERT_NE(review, nullptr);
  const lang::LanguageTexts en = LanguageTextsOf(program.Folder(), "En");
  ASSERT_TRUE(ClickListViewRow(FindListView(review), 0));
  PostClick(FindChild(review, L"Button", en[lang::Text::kViewFiles]));
  HWND files = program.Running().WaitForWindow(L"TFrmviewfiles");
  ASSERT_NE(files, nullptr);
  HWND list = FindListView(files);
  int kept = -1;
  for (int row = 0; row < ListViewRowCount(list); ++row) {
    if (ListViewCell(list, row, 1) == "R:\\one\\" && ListViewCell(list, row, 0) == "keep.tmp")
      kept = row;
  }
  ASSERT_GE(kept, 0);
  EXPECT_TRUE(ClickListViewCheckBox(list, kept));
  EXPECT_EQ(ListViewRowChecked(list, kept), false);
  PostClick(FindChild(files, L"Button", en[lang::Text::kClose]));
  for (int waited = 0; waited < 5000 && ::IsWindowVisible(files); waited += 20)
    ::Sleep(20);
  PostClick(FindChild(review, L"Button", en[lang::Text::kCleanUp]));
  const Lines lines = program.FinishWithReport();
  EXPECT_EQ(std::find(lines.begin(), lines.end(), "R:\\one\\keep.tmp"), lines.end());
  EXPECT_TRUE(Exists("R:\\one\\keep.tmp"));
  EXPECT_FALSE(Exists("R:\\one\\go.tmp"));
}

// The close box, Alt+F4 (the system's close command), Escape and Cancel each end the run with
// nothing removed: no file, no registry value, and the report says so.
TEST_F(ProgramCleanTest, EveryWayOutOfTheReviewRemovesNothing) {
  const wchar_t* const runMru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, runMru, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t command[] = L"cmd";
  ::RegSetValueExW(key, L"a", 0, REG_SZ, reinterpret_cast<const BYTE*>(command), sizeof command);
  for (int way = 0; way < 4; ++way) {
    SCOPED_TRACE(way);
    MakeFile("R:\\out\\a.tmp", "aaaa");
    CleanProgram program({settings::kReviewFirst, settings::kRunList});
    ASSERT_NE(program.Start(), nullptr);
    HWND review = program.Running().WaitForWindow(L"TFrmmarkfile");
    ASSERT_NE(review, nullptr);
    const lang::LanguageTexts en = LanguageTextsOf(program.Folder(), "En");
    HWND list = FindListView(review);
    ASSERT_GE(ListViewRowCount(list), 2) << "the found files and the Run list";
    switch (way) {
      case 0:
        ::PostMessageW(review, WM_CLOSE, 0, 0);
        break;
      case 1:
        ::PostMessageW(review, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
      case 2:
        ::PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
        break;
      default:
        PostClick(FindChild(review, L"Button", lang::WithoutAccessKey(en[lang::Text::kCancel])));
    }
    HWND report = program.Running().WaitForWindow(L"TFrmDelinfo");
    ASSERT_NE(report, nullptr);
    EXPECT_NE(FindChild(report, L"Static", en[lang::Text::kCancelledHeadline]), nullptr);
    EXPECT_TRUE(program.FinishWithReport().empty());
    EXPECT_TRUE(Exists("R:\\out\\a.tmp"));
    DWORD size = 0;
    EXPECT_EQ(::RegQueryValueExW(key, L"a", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  }
  ::RegCloseKey(key);
}

// A file that changed while the review was open stays and is counted; the others go.
TEST_F(ProgramCleanTest, AFileChangedDuringTheReviewStays) {
  MakeFile("R:\\chg\\grows.tmp", "x");
  MakeFile("R:\\chg\\same.tmp", "x");
  CleanProgram program({settings::kReviewFirst});
  ASSERT_NE(program.Start(), nullptr);
  HWND review = program.Running().WaitForWindow(L"TFrmmarkfile");
  ASSERT_NE(review, nullptr);
  MakeFile("R:\\chg\\grows.tmp", "xx");
  const lang::LanguageTexts en = LanguageTextsOf(program.Folder(), "En");
  PostClick(FindChild(review, L"Button", en[lang::Text::kCleanUp]));
  const Lines lines = program.FinishWithReport();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      lang::Filled(en[lang::Text::kChangedSinceAnalysis], {"1"})),
            lines.end());
  EXPECT_EQ(testing_win32::ReadAll("R:\\chg\\grows.tmp"), "xx");
  EXPECT_FALSE(Exists("R:\\chg\\same.tmp"));
}

// Every entry below `folder`, with its size, not entering links; and every value of a key.
void Describe(const std::string& folder, std::string& into) {
  for (const testing_win32::Entry& entry : testing_win32::Entries(folder)) {
    const std::string path = folder + "\\" + entry.name;
    into += path + (entry.IsLink() ? " ->" : "") + '\n';
    if (entry.IsFolder() && !entry.IsLink()) {
      Describe(path, into);
    } else if (!entry.IsFolder()) {
      into += testing_win32::ReadAll(path) + '\n';
    }
  }
}
void Describe(HKEY root, const wchar_t* key, std::string& into) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
  wchar_t name[512];
  BYTE data[512];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 512, dataLength = sizeof(data), type = 0;
    if (::RegEnumValueW(opened, i, name, &nameLength, nullptr, &type, data, &dataLength) !=
        ERROR_SUCCESS) {
      break;
    }
    into += platform::win32::Narrow(name) + '=' +
            std::string(reinterpret_cast<const char*>(data), dataLength) + '\n';
  }
  ::RegCloseKey(opened);
}

// A report's lines with each step's name left out: what an analysis and a run report alike.
Lines Figures(const Lines& lines) {
  Lines figures;
  for (const std::string& line : lines) {
    const std::size_t cut = line.find(": ");
    figures.push_back(line.rfind("R:\\", 0) == 0 || line.rfind("C:\\", 0) == 0 ? line
                      : cut == std::string::npos                               ? "(a step)"
                                                 : line.substr(cut + 2));
  }
  return figures;
}

// Every clean-up switched on: the sandbox's own temporary, Windows, application data and
// registry places. An analysis first, of the command line and of the window, changes
// nothing, and announces what the run then does; a command-line clean beside the window
// does nothing.
TEST_F(ProgramCleanTest, EveryCleanUpSwitchedOnLeavesTheSandboxAsExpected) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  wchar_t windows[MAX_PATH];
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  const std::string tempFolder = platform::win32::Narrow(temp);
  const std::string windowsFolder = platform::win32::Narrow(windows);
  platform::win32::Win32System system;
  const std::string local = system.SpecialFolder(platform::csidl::kLocalAppData);
  const std::string common = system.SpecialFolder(platform::csidl::kCommonAppData);
  ASSERT_FALSE(local.empty() || common.empty());
  // The temporary folder keeps what was written within a day: an installer's files at work.
  MakeFile(tempFolder + "dustorix-e2e\\old.log", "temp");
  testing_win32::SetWrittenHoursAgo(tempFolder + "dustorix-e2e\\old.log", 25);
  MakeFile(tempFolder + "dustorix-setup\\part.cab", "setup at work");
  testing_win32::SetWrittenHoursAgo(tempFolder + "dustorix-setup\\part.cab", 23);
  MakeFile(windowsFolder + "\\Windows Update Setup-Dateien\\setup.cab", "cab");
  MakeFile(windowsFolder + "\\system32\\WBEM\\Logs\\e2e.log", "log");
  // Update downloads (4096), reports and dumps of the user (3000) and the system (54000), shader
  // caches (15000); the update history and a driver's settings beside them stay.
  const std::string download = windowsFolder + "\\SoftwareDistribution\\Download";
  const std::pair<std::string, std::size_t> junk[] = {
      {download + "\\e2e\\windows10.0-kb1.cab", 4096},
      {local + "\\Microsoft\\Windows\\WER\\ReportQueue\\AppCrash_e2e\\Report.wer", 1000},
      {local + "\\CrashDumps\\e2e.exe.1.dmp", 2000},
      {common + "\\Microsoft\\Windows\\WER\\ReportArchive\\Kernel_e2e\\Report.wer", 3000},
      {windowsFolder + "\\MEMORY.DMP", 40000},
      {windowsFolder + "\\Minidump\\e2e-01.dmp", 5000},
      {windowsFolder + "\\LiveKernelReports\\WATCHDOG\\e2e.dmp", 6000},
      {local + "\\D3DSCache\\e2e\\shader.idx", 7000},
      {local + "\\AMD\\DxcCache\\e2e.bin", 8000}};
  const std::string kept[] = {windowsFolder + "\\SoftwareDistribution\\DataStore\\DataStore.edb",
                              local + "\\AMD\\CN\\settings.json"};
  for (const auto& [path, size] : junk)
    MakeFile(path, size);
  for (const std::string& path : kept)
    MakeFile(path, 10);
  MakeFile("R:\\dll\\unused.dll", testing_world::PeImage(0x48));
  MakeFile("R:\\all\\junk.tmp", "junk");
  const wchar_t* runMru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
  const wchar_t* sharedDlls = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, runMru, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExW(key, L"a", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"cmd"), 8);
  ::RegCloseKey(key);
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, sharedDlls, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD zero = 0;
  ::RegSetValueExW(key, L"R:\\dll\\unused.dll", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero),
                   sizeof(zero));
  ::RegCloseKey(key);

  // Old downloads: what was not written for the 30 days agerules.dat gives unless set.
  const std::string downloads = system.SpecialFolder(platform::csidl::kDownloads);
  ASSERT_FALSE(downloads.empty());
  MakeFile(downloads + "\\e2e-setup.exe", std::string(100, 'x'));
  testing_win32::SetWrittenHoursAgo(downloads + "\\e2e-setup.exe", 40 * 24);
  MakeFile(downloads + "\\e2e-today.pdf", "today");
  MakeFile("R:\\all\\binned.txt", "in the bin before");
  ASSERT_EQ(system.MoveToRecycleBin("R:\\all\\binned.txt"), platform::Recycled::kYes);
  // WinINet makes its index files on first use, as it did long ago on a real machine: not the
  // analysis's doing.
  system.ListUrlCache([](const std::string&) { return true; });

  CleanProgram program(
      {settings::kTempFolders, settings::kRecentDocuments, settings::kEmptyRecycleBin,
       settings::kTempInternetFiles, settings::kCookies, settings::kFavourites, settings::kHistory,
       settings::kOldUpdateFiles, settings::kSystemLog, settings::kErrorReports,
       settings::kShaderCaches, settings::kThumbnails, settings::kDeliveryOptimization,
       settings::kUpgradeLogs, settings::kDownloads, settings::kUnusedDlls, settings::kRunList});
  const auto describe = [&] {
    std::string all;
    for (const std::string& folder :
         {std::string("R:"), std::string("W:"), tempFolder.substr(0, tempFolder.size() - 1),
          windowsFolder + "\\Temp", windowsFolder + "\\Windows Update Setup-Dateien",
          windowsFolder + "\\system32\\WBEM\\Logs",
          system.SpecialFolder(platform::csidl::kInternetCache),
          system.SpecialFolder(platform::csidl::kCookies),
          system.SpecialFolder(platform::csidl::kHistory),
          system.SpecialFolder(platform::csidl::kFavorites), local, common,
          windowsFolder + "\\SoftwareDistribution", windowsFolder + "\\Minidump",
          windowsFolder + "\\LiveKernelReports", downloads}) {
      Describe(folder, all);
    }
    Describe(HKEY_CURRENT_USER, runMru, all);
    Describe(HKEY_LOCAL_MACHINE, sharedDlls, all);
    if (Exists(windowsFolder + "\\MEMORY.DMP")) all += "MEMORY.DMP\n";
    return all;
  };
  const std::string before = describe();
  const CommandRun analysis = RunCommand(program.Folder(), "/analyze R: /json analysis.json");
  EXPECT_EQ(analysis.exitCode, 0) << analysis.err;
  EXPECT_EQ(describe(), before) << "the command line's analysis changed the sandbox";
  const std::string json = program.Folder().Read("analysis.json");
  std::size_t stepsInJson = 0;
  for (std::size_t at = json.find("{\"step\": "); at != std::string::npos;
       at = json.find("{\"step\": ", at + 1)) {
    ++stepsInJson;
  }
  EXPECT_EQ(stepsInJson, cleanups::kSpecialSteps.size()) << json;
  ASSERT_NE(program.Start("A&nalyze"), nullptr);
  program.LeaveReview();
  std::string caption;
  const Lines announced = program.CloseReport(&caption);
  EXPECT_EQ(caption, "Analysis");
  EXPECT_EQ(describe(), before) << "the analysis changed the sandbox";
  // Both analyses are the same run: the command line's lines are the window's, then its
  // headline and size.
  const Lines printed = platform::SplitTextLines(analysis.out);
  ASSERT_GE(printed.size(), 2u);
  EXPECT_EQ(Lines(printed.begin(), printed.end() - 2), announced);
  // While the window runs a command-line clean does nothing.
  EXPECT_EQ(RunCommand(program.Folder(), "/clean R:").exitCode, 3);
  EXPECT_EQ(describe(), before) << "a command-line clean ran beside the window";
  program.Press("&Delete");
  const Lines lines = program.FinishWithReport();
  EXPECT_EQ(Figures(announced), Figures(lines));
  // The found files first (earlier tests leave some on R: too), then one line per step, with
  // the removed shared library among them.
  const auto steps = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("R:\\", 0) != 0;
  });
  EXPECT_NE(std::find(lines.begin(), steps, "R:\\all\\junk.tmp"), steps);
  const Lines afterScan(steps, lines.end());
  ASSERT_EQ(afterScan.size(), 17u) << ::testing::PrintToString(afterScan);
  EXPECT_NE(std::find(afterScan.begin(), afterScan.end(), "R:\\dll\\unused.dll"), afterScan.end());
  // The sandbox's user is an administrator: the system's reports and dumps go too.
  EXPECT_EQ(afterScan[7], program.StepLine(lang::Text::kOldUpdateFilesReport, 2, 3 + 4096));
  EXPECT_EQ(afterScan[9], program.StepLine(lang::Text::kErrorReportsReport, 6, 3000 + 54000));
  EXPECT_EQ(afterScan[10], program.StepLine(lang::Text::kShaderCachesReport, 2, 15000));
  EXPECT_EQ(afterScan[14], program.StepLine(lang::Text::kDownloadsReport, 1, 100));
  EXPECT_FALSE(Exists(downloads + "\\e2e-setup.exe"));
  EXPECT_EQ(testing_win32::ReadAll(downloads + "\\e2e-today.pdf"), "today");
  for (const auto& [path, size] : junk)
    EXPECT_FALSE(Exists(path)) << path;
  for (const std::string& path : kept)
    EXPECT_TRUE(Exists(path)) << path;
  EXPECT_TRUE(Exists(download));
  EXPECT_FALSE(Exists(tempFolder + "dustorix-e2e"));
  EXPECT_EQ(testing_win32::ReadAll(tempFolder + "dustorix-setup\\part.cab"), "setup at work");
  EXPECT_TRUE(Exists(tempFolder));
  EXPECT_FALSE(Exists(windowsFolder + "\\Windows Update Setup-Dateien"));
  EXPECT_FALSE(Exists(windowsFolder + "\\system32\\WBEM\\Logs\\e2e.log"));
  EXPECT_TRUE(Exists(windowsFolder + "\\system32\\WBEM\\Logs"));
  EXPECT_FALSE(Exists("R:\\dll\\unused.dll"));
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, runMru, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD values = 1;
  ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
  ::RegCloseKey(key);
  EXPECT_EQ(values, 0u);
}

// Every one of the project's own entries chosen, over a profile that holds each application's
// junk and what it keeps for the user, with Spotify running: the window's run takes the junk of
// every other application and nothing else, and tells it entry by entry.
TEST_F(ProgramCleanTest, TheProjectsEntriesTakeEveryApplicationsJunkAndLeaveARunningOneAlone) {
  using testing_cleaners::AppPlace;
  platform::win32::Win32System system;
  const cleaners::Places places(system);
  std::vector<cleaners::Expansion> seeded;
  for (const AppPlace& place : testing_cleaners::kAppPlaces) {
    const std::vector<cleaners::Expansion> expansions = places.Vars().Expand(place.path);
    ASSERT_FALSE(expansions.empty()) << place.path;
    const std::string& path = expansions.front().text;
    if (place.kind == AppPlace::kJunkFolder) {
      MakeFile(path + "\\data_0", 1000);
      MakeFile(path + "\\f_000001\\index", 24);
    } else {
      MakeFile(path, place.kind == AppPlace::kKept ? "keep " + path : std::string(500, 'j'));
    }
    seeded.push_back(expansions.front());
  }
  CleanProgram program({});
  const cleaners::RuleFile own = cleaners::ParseRuleFile(
      program.Folder().Read("data\\cleaners\\dustorix.ini"), "dustorix.ini");
  std::string chosen;
  for (const cleaners::Entry& entry : own.entries)
    chosen += entry.name + "\r\n";
  program.Folder().Write("data\\cleaners.dat", chosen);
  Lines report;
  {
    StandInProcess spotify("Spotify.exe");
    ASSERT_NE(program.Start(), nullptr);
    report = program.FinishWithReport();
  }
  const lang::LanguageTexts en = LanguageTextsOf(program.Folder(), "En");
  for (const cleaners::Entry& entry : own.entries) {
    const std::string line = entry.name == "Spotify" ? lang::Filled(en[lang::Text::kCleanerRunning],
                                                                    {"Spotify", "Spotify.exe"})
                                                     : entry.name + ": ";
    EXPECT_EQ(
        std::ranges::count_if(report, [&](const std::string& l) { return l.starts_with(line); }), 1)
        << line;
  }
  for (std::size_t i = 0; i < seeded.size(); ++i) {
    const AppPlace& place = testing_cleaners::kAppPlaces[i];
    const std::string& path = seeded[i].text;
    if (place.kind == AppPlace::kKept) {
      EXPECT_EQ(testing_win32::ReadAll(path), "keep " + path);
    } else if (place.app == "Spotify") {
      EXPECT_TRUE(Exists(path)) << path << " is left alone while Spotify runs";
    } else if (place.kind == AppPlace::kJunkFolder) {
      EXPECT_FALSE(Exists(path + "\\data_0") || Exists(path + "\\f_000001\\index")) << path;
    } else {
      EXPECT_FALSE(Exists(path)) << path;
    }
  }
  // What was seeded goes, and each folder above it left empty, up to the first protected one.
  for (const cleaners::Expansion& place : seeded) {
    ::DeleteFileW(testing_win32::WidePath(place.text).c_str());
    testing_win32::RemoveTree(place.text);
    for (std::string folder = place.text; folder.size() > place.baseLength;) {
      folder.erase(folder.rfind('\\'));
      if (places.IsProtected(folder) ||
          !::RemoveDirectoryW(testing_win32::WidePath(folder).c_str())) {
        break;
      }
    }
  }
}

// The sandbox user's browsers as they keep their folders, in a sandbox of their own.
class ProgramBrowsersTest : public ProgramCleanTest {};

std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH + 1] = {};
  EXPECT_EQ(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path), S_OK) << csidl;
  return platform::win32::Narrow(path);
}

// The report's lines that begin with one of the browsers' names.
Lines BrowserLines(const Lines& report) {
  Lines lines;
  for (const std::string& line : report) {
    for (const char* name : {"Google Chrome", "Microsoft Edge", "Mozilla Firefox"}) {
      if (line.rfind(name, 0) == 0) lines.push_back(line);
    }
  }
  return lines;
}

TEST_F(ProgramBrowsersTest, CachesEmptiedCookiesGoneTheRestKeptAndARunningEdgeLeftAlone) {
  const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
  const std::string chrome = local + "\\Google\\Chrome\\User Data\\";
  const std::string edge = local + "\\Microsoft\\Edge\\User Data\\Default\\";
  const std::string firefox = ShellFolder(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\";
  const std::string profile = firefox + "Profiles\\a1b2.default-release\\";
  const std::string twin = local + "\\Mozilla\\Firefox\\Profiles\\a1b2.default-release\\";
  const auto emptied = [](const std::string& folder) {
    return Exists(folder) && Entries(folder).empty();
  };
  const std::vector<std::string> profiles = {chrome + "Default\\", chrome + "Profile 2\\", edge};
  const Lines kept = {"Preferences", "History", "Network\\TransportSecurity"};
  const auto layOut = [&] {
    for (const std::string& folder : profiles) {
      for (const std::string& name : kept)
        MakeFile(folder + name, name);
      MakeFile(folder + "Cache\\Cache_Data\\data_0", 5300);
      MakeFile(folder + "Network\\Cookies", 2000);
    }
    MakeFile(firefox + "profiles.ini",
             "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a1b2.default-release\r\n");
    MakeFile(profile + "places.sqlite", "places");
    MakeFile(profile + "times.json", "{}");
    MakeFile(profile + "cookies.sqlite", 1000);
    // No profile of Chrome's: neither listed nor named like one.
    MakeFile(chrome + "My Backup\\Preferences", "{}");
    MakeFile(chrome + "My Backup\\Cache\\thesis.pdf", "thesis");
    MakeFile(twin + "cache2\\entries\\0A1B", 4000);
  };
  layOut();
  CleanProgram first({settings::kTempInternetFiles, settings::kCookies});
  ASSERT_NE(first.Start(), nullptr);
  EXPECT_EQ(
      BrowserLines(first.FinishWithReport()),
      (Lines{"Google Chrome: cache removed, 10.4 KB", "Microsoft Edge: cache removed, 5.2 KB",
             "Mozilla Firefox: cache removed, 3.9 KB", "Google Chrome: cookies removed, 3.9 KB",
             "Microsoft Edge: cookies removed, 2.0 KB",
             "Mozilla Firefox: cookies removed, 1.0 KB"}));
  for (const std::string& folder : profiles) {
    for (const std::string& name : kept)
      EXPECT_EQ(testing_win32::ReadAll(folder + name), name) << folder << name;
    EXPECT_TRUE(emptied(folder + "Cache")) << folder;
    EXPECT_FALSE(Exists(folder + "Network\\Cookies")) << folder;
  }
  EXPECT_TRUE(Exists(firefox + "profiles.ini") && Exists(profile + "places.sqlite"));
  EXPECT_FALSE(Exists(profile + "cookies.sqlite"));
  EXPECT_EQ(testing_win32::ReadAll(chrome + "My Backup\\Cache\\thesis.pdf"), "thesis");
  EXPECT_TRUE(emptied(twin + "cache2"));

  layOut();
  StandInProcess runningEdge("msedge.exe");
  CleanProgram second({settings::kTempInternetFiles, settings::kCookies});
  ASSERT_NE(second.Start(), nullptr);
  EXPECT_EQ(
      BrowserLines(second.FinishWithReport()),
      (Lines{"Google Chrome: cache removed, 10.4 KB",
             "Microsoft Edge is running: its cache and cookies were left alone. Close it "
             "(also in the notification area) and clean again.",
             "Mozilla Firefox: cache removed, 3.9 KB", "Google Chrome: cookies removed, 3.9 KB",
             "Mozilla Firefox: cookies removed, 1.0 KB"}));
  for (const char* name : {"Cache\\Cache_Data\\data_0", "Network\\Cookies", "Preferences"})
    EXPECT_TRUE(Exists(edge + name)) << name;
  EXPECT_FALSE(Exists(chrome + "Default\\Network\\Cookies"));
}

}  // namespace
}  // namespace testing_program
