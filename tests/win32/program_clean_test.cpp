// Clean runs of the real dustorix.exe on a drive of the sandbox, driven through its windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "lang/quantities.h"
#include "platform/win32/win32_system.h"
#include "settings/settings_files.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"

namespace testing_program {
namespace {

using Lines = std::vector<std::string>;
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
    folder_.Write("data\\lang\\whichlang.dat", std::string("\x02"
                                                           "En\x01",
                                                           4));
  }

  // Starts the program, chooses R: and presses "Delete".
  HWND Start() {
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
    ::PostMessageW(FindChild(main_, L"Button", "Delete"), BM_CLICK, 0, 0);
    return main_;
  }

  // Reads the report, closes it and the program.
  Lines FinishWithReport() {
    HWND report = program_->WaitForWindow(L"TFrmDelinfo");
    EXPECT_NE(report, nullptr);
    if (!report) return {};
    Lines lines = ListBoxLines(FindChild(report, L"ListBox"));
    ::PostMessageW(report, WM_CLOSE, 0, 0);
    for (int waited = 0; waited < 5000 && ::IsWindowVisible(report); waited += 20)
      ::Sleep(20);
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(program_->WaitForExit(), 0);
    return lines;
  }

  Program& Running() { return *program_; }
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
                           "R:\\del\\document.tmp123", "R:\\fixtures\\link\\keep.txt"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
}

TEST_F(ProgramCleanTest, TheRecycleBinKeepsWhatItTakes) {
  MakeFile("R:\\bin\\recycled.tmp", "recycle me");
  CleanProgram program({settings::kRecycleFound});
  ASSERT_NE(program.Start(), nullptr);
  EXPECT_EQ(program.FinishWithReport(), Lines{"R:\\bin\\recycled.tmp"});
  EXPECT_FALSE(Exists("R:\\bin\\recycled.tmp"));
  EXPECT_TRUE(Exists("W:\\files\\recycled.tmp"));  // the sandbox's recycle bin
}

TEST_F(ProgramCleanTest, TheReviewRemovesOnlyTheMarkedLines) {
  for (const char* name : {"R:\\rev\\a.tmp", "R:\\rev\\b.tmp", "R:\\rev\\c.tmp"}) {
    MakeFile(name, "x");
  }
  CleanProgram program({settings::kReviewFirst});
  ASSERT_NE(program.Start(), nullptr);
  HWND review = program.Running().WaitForWindow(L"TFrmmarkfile");
  ASSERT_NE(review, nullptr);
  HWND list = FindChild(review, L"ListBox");
  Lines listed = ListBoxLines(list);
  ASSERT_EQ(listed.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    if (listed[static_cast<size_t>(i)] != "R:\\rev\\b.tmp") SelectLine(list, i, true);
  }
  ::PostMessageW(FindChild(review, L"Button", "Continue"), BM_CLICK, 0, 0);
  Lines lines = program.FinishWithReport();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (Lines{"R:\\rev\\a.tmp", "R:\\rev\\c.tmp"}));
  EXPECT_TRUE(Exists("R:\\rev\\b.tmp"));
  EXPECT_FALSE(Exists("R:\\rev\\a.tmp"));
}

// Every clean-up switched on: the sandbox's own temporary, Windows, application data and
// registry places.
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
  MakeFile(tempFolder + "dustorix-e2e\\old.log", "temp");
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
  MakeFile("R:\\dll\\unused.dll", "dll");
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

  CleanProgram program({settings::kTempFolders, settings::kRecentDocuments,
                        settings::kEmptyRecycleBin, settings::kTempInternetFiles,
                        settings::kCookies, settings::kFavourites, settings::kHistory,
                        settings::kOldUpdateFiles, settings::kSystemLog, settings::kErrorReports,
                        settings::kShaderCaches, settings::kUnusedDlls, settings::kRunList});
  ASSERT_NE(program.Start(), nullptr);
  const Lines lines = program.FinishWithReport();
  // The found files first (earlier tests leave some on R: too), then one line per step, with
  // the removed shared library among them.
  const auto steps = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("R:\\", 0) != 0;
  });
  EXPECT_NE(std::find(lines.begin(), steps, "R:\\all\\junk.tmp"), steps);
  const Lines afterScan(steps, lines.end());
  ASSERT_EQ(afterScan.size(), 13u) << ::testing::PrintToString(afterScan);
  EXPECT_NE(std::find(afterScan.begin(), afterScan.end(), "R:\\dll\\unused.dll"), afterScan.end());
  // The sandbox's user is an administrator: the system's reports and dumps go too.
  EXPECT_EQ(afterScan[7], program.StepLine(lang::Text::kOldUpdateFilesReport, 2, 3 + 4096));
  EXPECT_EQ(afterScan[9], program.StepLine(lang::Text::kErrorReportsReport, 6, 3000 + 54000));
  EXPECT_EQ(afterScan[10], program.StepLine(lang::Text::kShaderCachesReport, 2, 15000));
  for (const auto& [path, size] : junk)
    EXPECT_FALSE(Exists(path)) << path;
  for (const std::string& path : kept)
    EXPECT_TRUE(Exists(path)) << path;
  EXPECT_TRUE(Exists(download));
  EXPECT_FALSE(Exists(tempFolder + "dustorix-e2e"));
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

}  // namespace
}  // namespace testing_program
