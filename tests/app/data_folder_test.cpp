// Where the settings live: the current folder's data, else the program's, and for an installed
// copy that the user cannot write, the user's own copy in %AppData%.
#include "app/data_folder.h"

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "lang/lang_form.h"
#include "platform/sim/sim_console.h"
#include "platform/sim/sim_event_log.h"
#include "tests/app/app_harness.h"

namespace testing_app {
namespace {

using app::DataPlace;
constexpr const char* kInstalled = "C:\\Program Files\\Dustorix";
constexpr const char* kRoaming = "C:\\Users\\me\\AppData\\Roaming";
constexpr const char* kCopy = "C:\\Users\\me\\AppData\\Roaming\\Dustorix\\data";

std::string English() {
  return std::string(
      "\x02"
      "En\x01",
      4);
}

// The harness's program moved to Program Files, which the user may not write in, started from
// the user's home folder.
void Install(AppHarness& h) {
  h.sim.AddFolder(kInstalled);
  h.sim.SetProgramFolder(kInstalled);
  for (const char* code : {"De", "En", "Gr"}) {
    const std::string file = std::string("data\\lang\\") + code + ".dat";
    h.sim.AddFile(std::string(kInstalled) + "\\" + file, *h.sim.Content(file));
  }
  h.sim.AddFile(std::string(kInstalled) + "\\data\\fileformat.dat", "*.tmp\r\n");
  h.sim.AddFile(std::string(kInstalled) + "\\data\\standard\\fileformat.dat", "*.tmp\r\n");
  h.sim.SetWriteProtected(kInstalled);
  h.sim.AddFolder(kRoaming);
  h.sim.SetSpecialFolder(platform::csidl::kAppData, kRoaming);
  h.sim.AddFolder("C:\\Users\\me");
  h.sim.SetCurrentDirectory("C:\\Users\\me");
}

TEST(DataFolder, TheCurrentFoldersComesFirstThenTheOneBesideTheProgram) {
  AppHarness h;
  // Started in its own folder: the program's data, which this user may write.
  EXPECT_EQ(app::FindDataFolder(h.sim, true).place, DataPlace::kBesideProgram);
  h.sim.AddFolder("C:\\Elsewhere\\data");
  h.sim.SetCurrentDirectory("C:\\Elsewhere");
  app::DataFolder found = app::FindDataFolder(h.sim, true);
  EXPECT_EQ(found.place, DataPlace::kCurrentFolder);
  EXPECT_EQ(found.path, "data");
  h.sim.SetCurrentDirectory("C:\\");
  found = app::FindDataFolder(h.sim, true);
  EXPECT_EQ(found.place, DataPlace::kBesideProgram);
  EXPECT_EQ(found.path, "C:\\Dustorix\\data");
  EXPECT_FALSE(h.sim.Exists("C:\\Dustorix\\data\\write-check.new")) << "the probe is gone";
  h.sim.SetProgramFolder("C:\\Elsewhere\\bin");
  EXPECT_EQ(app::FindDataFolder(h.sim, true).place, DataPlace::kNone);
}

// A shortcut's "Start in" or Win+R: the usual window, with the settings beside the program.
TEST(DataFolder, StartedFromAnotherFolderTheProgramShowsItsUsualWindow) {
  AppHarness h;
  h.WriteRecord(English());
  h.sim.AddFile("data\\fileformat.dat", "*.tmp\r\n");
  h.sim.AddFolder("C:\\Users\\me");
  h.sim.SetCurrentDirectory("C:\\Users\\me");
  h.Run([&](app::TFrmMain& main) {
    EXPECT_EQ(main.BtnDelete.Caption(), En(Text::kDelete));
    EXPECT_EQ(main.Settings.FileEndingList, std::vector<std::string>{"*.tmp"});
    main.Deutsch1.Click();
    main.Close();
  });
  EXPECT_TRUE(h.ui.ModalHistory().empty()) << "no language dialog";
  EXPECT_EQ(h.sim.Content("C:\\Dustorix\\data\\lang\\whichlang.dat"),
            "\x02"
            "De\x01");
  EXPECT_FALSE(h.sim.Exists("C:\\Users\\me\\data"));
}

TEST(DataFolder, WithNoDataFolderAnywhereTheProgramSaysSoInEnglishAndGermanAndEnds) {
  AppHarness h;
  h.sim.SetProgramFolder("C:\\Tools");
  h.sim.AddFolder("C:\\Tools");
  h.sim.SetCurrentDirectory("C:\\Tools");
  h.ui.SetMainLoop([](ui::Form&) { ADD_FAILURE() << "no window may open"; });
  EXPECT_EQ(app::RunDustorix(h.faults, h.ui), app::kExitSettingsUnreadable);
  ASSERT_EQ(h.ui.MessageBoxes().size(), 1u);
  const auto& box = h.ui.MessageBoxes()[0];
  EXPECT_NE(box.text.find("cannot find its folder \"data\""), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("findet seinen Ordner \"data\""), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("C:\\Tools"), std::string::npos);
  EXPECT_EQ(box.caption, "Dustorix");
  EXPECT_EQ(box.style, 0x10u);  // an error
  EXPECT_TRUE(h.ui.ModalHistory().empty());
  EXPECT_EQ(h.sim.Calls(platform::sim::Op::kWriteFile), 0u);
  EXPECT_FALSE(h.sim.SemaphoreHeld(app::InstanceName));
}

TEST(DataFolder, AnInstalledCopyKeepsEachUsersSettingsInTheirAppData) {
  AppHarness h;
  Install(h);
  const std::string before = h.sim.Dump(kInstalled);
  h.ui.QueueModal(
      [](ui::Form& form) {
        auto& dialog = static_cast<lang::TFrmlang&>(form);
        dialog.CbBlang.UserChose(1);
        dialog.BBtnok.Click();
      },
      "TFrmlang");
  h.Run([&](app::TFrmMain& main) {
    EXPECT_EQ(main.Settings.FileEndingList, std::vector<std::string>{"*.tmp"});
    EXPECT_EQ(main.BtnDelete.Caption(), Synthetic("De", Text::kDelete));
    main.Settings.FileEndingList.push_back("*.chk");
    main.Close();
  });
  EXPECT_EQ(h.sim.Dump(kInstalled), before) << "the program's folder stays as shipped";
  const std::string copy = kCopy;
  EXPECT_EQ(h.sim.Content(copy + "\\fileformat.dat"), "*.tmp\r\n*.chk\r\n");
  EXPECT_EQ(h.sim.Content(copy + "\\lang\\whichlang.dat"),
            "\x02"
            "De\x01");
  EXPECT_EQ(h.sim.Content(copy + "\\standard\\fileformat.dat"), "*.tmp\r\n");
  EXPECT_TRUE(h.sim.Exists(copy + "\\lang\\Gr.dat"));

  // A new version: its language files and default lists replace the copy's, the user's settings
  // stay. The next start asks nothing and shows the user's choices.
  const std::string shippedDe = std::string(kInstalled) + "\\data\\lang\\De.dat";
  h.sim.AddFile(shippedDe, "Neu\r\n");
  h.sim.AddFile(std::string(kInstalled) + "\\data\\fileformat.dat", "*.new\r\n");
  h.Run([&](app::TFrmMain& main) {
    EXPECT_EQ(main.Datei1.Caption(), "Neu");
    EXPECT_EQ(main.Settings.FileEndingList, (std::vector<std::string>{"*.tmp", "*.chk"}));
    main.Close();
  });
  EXPECT_EQ(h.ui.ModalHistory(), std::vector<std::string>{"TFrmlang"}) << "asked once only";
  EXPECT_EQ(h.sim.Content(copy + "\\lang\\De.dat"), "Neu\r\n");
}

TEST(DataFolder, StartedInAnInstalledCopysOwnFolderItStillUsesTheUsersCopy) {
  AppHarness h;
  Install(h);
  h.sim.SetCurrentDirectory(kInstalled);
  const app::DataFolder found = app::FindDataFolder(h.sim, true);
  EXPECT_EQ(found.place, DataPlace::kUserCopy);
  EXPECT_EQ(found.path, kCopy);
}

TEST(DataFolder, WithoutAppDataOrACopyTheShippedFolderIsOnlyRead) {
  AppHarness h;
  Install(h);
  // A command line makes no copy: it reads the shipped folder until the window has made one.
  app::DataFolder found = app::FindDataFolder(h.sim, false);
  EXPECT_EQ(found.place, DataPlace::kShipped);
  EXPECT_EQ(found.path, std::string(kInstalled) + "\\data");
  EXPECT_FALSE(h.sim.Exists("C:\\Users\\me\\AppData\\Roaming\\Dustorix"));
  EXPECT_EQ(app::FindDataFolder(h.sim, true).place, DataPlace::kUserCopy);
  EXPECT_EQ(app::FindDataFolder(h.sim, false).place, DataPlace::kUserCopy);

  AppHarness without;
  Install(without);
  without.sim.SetSpecialFolder(platform::csidl::kAppData, "");
  EXPECT_EQ(app::FindDataFolder(without.sim, true).place, DataPlace::kShipped);
  // Nor when the copy's folder cannot be made.
  AppHarness refused;
  Install(refused);
  refused.faults.FailPath(platform::sim::Op::kCreateFolder, std::string(kRoaming) + "\\Dustorix");
  EXPECT_EQ(app::FindDataFolder(refused.faults, true).place, DataPlace::kShipped);
}

TEST(DataFolder, TheCommandLineFindsTheDataAsTheWindowDoesAndDataOverridesIt) {
  AppHarness h;
  h.sim.AddDrive('E', platform::DriveType::kFixed);
  h.sim.AddFile("E:\\a.tmp", "aaaa");
  h.sim.AddFile("E:\\b.chk", "bb");
  h.sim.AddFile("data\\fileformat.dat", "*.tmp\r\n");
  h.sim.AddFile("C:\\Other\\data\\fileformat.dat", "*.chk\r\n");
  h.sim.SetCurrentDirectory("C:\\Windows");  // as a scheduled task starts
  h.sim.AddFolder("C:\\Windows");
  platform::sim::SimConsole console;
  platform::sim::SimEventLog eventLog;
  EXPECT_EQ(app::RunCommandLine(h.sim, console, eventLog, {"/analyze", "E:"}), app::kExitDone);
  EXPECT_NE(console.out.find("E:\\a.tmp"), std::string::npos) << console.out;
  console = {};
  EXPECT_EQ(
      app::RunCommandLine(h.sim, console, eventLog, {"/analyze", "E:", "/data", "C:\\Other\\data"}),
      app::kExitDone);
  EXPECT_NE(console.out.find("E:\\b.chk"), std::string::npos) << console.out;
  EXPECT_EQ(console.out.find("E:\\a.tmp"), std::string::npos);
}

TEST(DataFolder, OnlyTheProgramsDataPathsLeadIntoTheChosenFolder) {
  platform::sim::SimSystem sim;
  sim.AddDrive('C', platform::DriveType::kFixed);
  sim.AddFile("C:\\Settings\\lang\\En.dat", "x");
  sim.AddFile("C:\\work\\database\\keep.dat", "y");
  sim.AddFile("C:\\work\\data\\there.dat", "z");
  sim.SetCurrentDirectory("C:\\work");
  app::DataFolderSystem data(sim, "C:\\Settings\\");
  EXPECT_EQ(data.ReadFile("data\\lang\\En.dat", platform::FileAccess::kRead).bytes, "x");
  EXPECT_EQ(data.ReadFile("DATA/lang/En.dat", platform::FileAccess::kRead).bytes, "x");
  EXPECT_EQ(data.ReadFile("database\\keep.dat", platform::FileAccess::kRead).bytes, "y");
  EXPECT_EQ(data.ReadFile("C:\\work\\data\\there.dat", platform::FileAccess::kRead).bytes, "z");
  EXPECT_TRUE(data.WriteFile("data\\fileformat.dat.new", "*.tmp\r\n"));
  EXPECT_TRUE(data.ReplaceFile("data\\fileformat.dat.new", "data\\fileformat.dat"));
  EXPECT_EQ(sim.Content("C:\\Settings\\fileformat.dat"), "*.tmp\r\n");
  EXPECT_TRUE(data.Status("data")->IsDirectory());
  EXPECT_TRUE(data.CreateFolder("data\\cleaners"));
  EXPECT_TRUE(sim.Exists("C:\\Settings\\cleaners"));
  EXPECT_TRUE(data.DeleteFile("data\\fileformat.dat"));
  EXPECT_FALSE(sim.Exists("C:\\Settings\\fileformat.dat"));
}

}  // namespace
}  // namespace testing_app
