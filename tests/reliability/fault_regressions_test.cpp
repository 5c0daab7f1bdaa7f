// The faults the sweeps found, each pinned down on its own, and the sim's fault kinds.
#include <gtest/gtest.h>

#include "cleanups/special_cleanups.h"
#include "tests/cleanups/cleanups_harness.h"
#include "tests/reliability/sweep_harness.h"

namespace reliability {
namespace {

using lang::Text;
using platform::DirEntry;
using platform::DriveType;
using platform::FileAccess;
using platform::ReadError;
using platform::RegistryRoot;
using platform::RegistryValue;
using testing_app::En;
using testing_app::RunHarness;
using Lines = std::vector<std::string>;

// --- A settings file that exists but cannot be read at start

TEST(FaultRegression, AnUnreadableExceptionListStopsTheScanNotTheExceptedFiles) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Exceptions("keep.tmp\r\n");
  h.Switches({settings::kTempFolders});
  h.sim.AddFile("E:\\keep.tmp", "precious");
  h.sim.AddFile("E:\\junk.tmp", "x");
  h.sim.AddFile("C:\\Temp\\t.log", "x");
  h.sim.SetInUse("data\\exception.dat");  // another program holds it at start
  testing_app::RunReport report = h.CleanOnce();
  EXPECT_TRUE(h.sim.Exists("E:\\keep.tmp"));
  EXPECT_TRUE(h.sim.Exists("E:\\junk.tmp"));
  EXPECT_FALSE(h.sim.Exists("C:\\Temp\\t.log"));  // the special clean-ups still run
  EXPECT_EQ(report.lines, Lines{En(Text::kTempFoldersReport, 1, 1)});
  // The report says so in red, never that all went well.
  EXPECT_EQ(report.headline, En(Text::kSettingsUnreadable));
  EXPECT_EQ(report.headlineColor, ui::Color::Rgb(255, 0, 0));
}

TEST(FaultRegression, UnreadableSwitchesNeverTurnAReviewIntoADeletion) {
  for (settings::Switch mode : {settings::kRecycleFound, settings::kReviewFirst}) {
    RunHarness h;
    h.Patterns("*.tmp\r\n");
    h.Switches({mode});
    h.sim.AddFile("E:\\junk.tmp", "x");
    h.sim.SetInUse("data\\advancedoption.dat");
    testing_app::RunReport report = h.CleanOnce();
    EXPECT_TRUE(h.sim.Exists("E:\\junk.tmp")) << mode;
    EXPECT_TRUE(report.lines.empty()) << mode;
  }
}

TEST(FaultRegression, AScanRunsAgainOnceTheUserSetTheSwitchesAnew) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({});
  h.sim.AddFile("E:\\junk.tmp", "x");
  h.sim.SetInUse("data\\advancedoption.dat");
  testing_app::RunReport report = h.CleanOnce('E', nullptr, [](app::TFrmMain& main) {
    main.Settings.MarkChanged(settings::SettingsFile::kAdvancedOption);  // as the options' OK
  });
  EXPECT_EQ(report.lines, Lines{"E:\\junk.tmp"});
}

// --- Bad input

TEST(BadInputRegression, AProtectedPatternInAHandEditedListIsNotUsedByTheScan) {
  RunHarness h;
  h.Patterns("*.*\r\n*.EXE\r\n*.Dll\r\n*.tmp\r\n");
  h.sim.AddFile("E:\\setup.exe", "x");
  h.sim.AddFile("E:\\lib.dll", "x");
  h.sim.AddFile("E:\\thesis.doc", "x");
  h.sim.AddFile("E:\\junk.tmp", "x");
  testing_app::RunReport report = h.CleanOnce();
  EXPECT_EQ(report.lines, Lines{"E:\\junk.tmp"});
  for (const char* kept : {"E:\\setup.exe", "E:\\lib.dll", "E:\\thesis.doc"})
    EXPECT_TRUE(h.sim.Exists(kept)) << kept;
}

// --- Files deleted by the clean-ups are counted with the size a look-up gave

class SizeUnknown : public testing_cleanups::CleanupsTest {};

TEST_F(SizeUnknown, AnOperaCookieFileWhoseSizeCannotBeReadStays) {
  sim.SetSpecialFolder(0x1A, "C:\\AppData");
  const std::string cookies = "C:\\AppData\\Opera\\Opera7\\profile\\cookies4.dat";
  sim.AddFile(cookies, std::string(60, 'x'));
  faults.FailPath(Op::kStatus, cookies);
  cleanups.Cookies();
  EXPECT_TRUE(sim.Exists(cookies));
  EXPECT_EQ(state.freedBytes, 0);
  faults.ClearFailures();
  cleanups.Cookies();
  EXPECT_FALSE(sim.Exists(cookies));
  EXPECT_EQ(state.freedBytes, 60);
}

TEST_F(SizeUnknown, AnUnusedDllWhoseSizeCannotBeReadStays) {
  constexpr const char* kDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  const std::string dll = "C:\\Old\\unused.dll";
  sim.AddFile(dll, std::string(4000, 'x'));
  sim.SetRegistryValue(RegistryRoot::kLocalMachine, kDlls, dll, RegistryValue::FromDword(0));
  faults.FailPath(Op::kStatus, dll);
  cleanups.RemoveZeroCountDlls();
  EXPECT_TRUE(sim.Exists(dll));
  EXPECT_EQ(state.freedBytes, 0);
  EXPECT_TRUE(Reported().empty());
}

// --- The fault kinds of the injector, as the sweeps rely on them

TEST(SimFaults, EachKindFailsTheCallAndLeavesItsTrace) {
  SimSystem sim;
  platform::sim::FaultInjector faults(sim);
  sim.AddDrive('C', DriveType::kFixed);
  sim.AddFile("C:\\d\\a.txt", "12345678");
  sim.AddFile("C:\\d\\b.txt", "b");

  faults.FailNthCall(Op::kReadFile, 1, Fault::kPathTooLong);
  EXPECT_EQ(faults.ReadFile("C:\\d\\a.txt", FileAccess::kRead).error, ReadError::kOther);
  EXPECT_TRUE(faults.InjectedFailureFired());

  faults.FailNthCall(Op::kDeleteFile, 1, Fault::kSharingViolation);
  EXPECT_FALSE(faults.DeleteFile("C:\\d\\a.txt"));
  EXPECT_FALSE(faults.DeleteFile("C:\\d\\a.txt"));  // still held open by the other program
  EXPECT_FALSE(faults.WriteFile("C:\\d\\a.txt", "x"));

  faults.FailNthCall(Op::kLookUp, 2, Fault::kVanished);
  EXPECT_TRUE(faults.LookUp("C:\\d\\b.txt"));
  EXPECT_FALSE(faults.InjectedFailureFired());
  EXPECT_FALSE(faults.LookUp("C:\\d"));
  EXPECT_FALSE(sim.Exists("C:\\d\\b.txt"));
  EXPECT_EQ(faults.VanishedPaths(), (Lines{"C:\\D", "C:\\D\\A.TXT", "C:\\D\\B.TXT"}));

  sim.AddFile("C:\\s.dat", "old");
  faults.FailNthCall(Op::kWriteFile, 1, Fault::kDiskFull);
  EXPECT_FALSE(faults.WriteFile("C:\\s.dat", "new!"));
  EXPECT_EQ(sim.Content("C:\\s.dat"), "ne");
  faults.FailNthCall(Op::kWriteFile, 1, Fault::kAccessDenied);
  EXPECT_FALSE(faults.WriteFile("C:\\s.dat", "new!"));
  EXPECT_EQ(sim.Content("C:\\s.dat"), "ne");
}

TEST(SimFaults, EveryOperationCanFail) {
  SimSystem sim;
  platform::sim::FaultInjector faults(sim);
  sim.AddDrive('C', DriveType::kFixed);
  sim.SetAdministrator(true);
  sim.SetSpecialFolder(0x1A, "C:\\AppData");
  sim.SetRegistryValue(RegistryRoot::kCurrentUser, "K", "v", RegistryValue::FromDword(1));
  sim.AddUrlCacheEntry("https://example.org/");
  for (int i = 0; i < static_cast<int>(Op::kCount); ++i)
    faults.FailNthCall(static_cast<Op>(i), 1);
  EXPECT_EQ(faults.CurrentDirectory(), "");
  EXPECT_EQ(faults.GetDriveType("C:"), DriveType::kUnknown);
  EXPECT_TRUE(faults.Drives().empty());
  EXPECT_FALSE(faults.IsAdministrator());
  EXPECT_EQ(faults.RegisterWindowMessage("m"), 0u);
  bool existed = true;
  EXPECT_FALSE(faults.CreateNamedSemaphore("s", existed));
  faults.BroadcastMessage(1);
  EXPECT_TRUE(sim.Broadcasts().empty());
  EXPECT_EQ(faults.TempFolder(), "");
  EXPECT_EQ(faults.WindowsFolder(), "");
  EXPECT_EQ(faults.SpecialFolder(0x1A), "");
  EXPECT_EQ(faults.FullPathName("C:\\x"), "");
  EXPECT_FALSE(faults.OpenRegistryKey(RegistryRoot::kCurrentUser, "K"));
  std::unique_ptr<platform::RegistryKey> key =
      faults.OpenRegistryKey(RegistryRoot::kCurrentUser, "K");
  ASSERT_TRUE(key);
  EXPECT_TRUE(key->ValueNames().empty());
  EXPECT_FALSE(key->ReadValue("v"));
  EXPECT_FALSE(key->DeleteValue("v"));
  int visited = 0;
  faults.ListUrlCache([&](const std::string&) { return ++visited, true; });
  EXPECT_EQ(visited, 0);
  EXPECT_FALSE(faults.DeleteUrlCacheItem("https://example.org/"));
  faults.ShellOpen("https://example.org/");
  EXPECT_TRUE(sim.ShellOpened().empty());
  sim.AddRecentDocument("C:\\x.txt");
  faults.ClearRecentDocuments();
  EXPECT_EQ(sim.RecentDocuments().size(), 1u);
  for (int i = 0; i < static_cast<int>(Op::kCount); ++i) {
    EXPECT_NE(std::string(platform::sim::NameOf(static_cast<Op>(i))), "?");
  }
}

}  // namespace
}  // namespace reliability
