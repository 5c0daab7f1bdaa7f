// The recycle bin, old update files, the system log, shared libraries and the Run list.
#include <algorithm>

#include "tests/cleanups/cleanups_harness.h"
#include "tests/platform/bin_record.h"
#include "tests/platform/pe_image.h"

namespace testing_cleanups {
namespace {

namespace reg = platform::reg;
using platform::RegistryRoot;
using platform::RegistryValue;

constexpr const char* kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

class SystemCleanupsTest : public CleanupsTest {
 protected:
  void Count(const std::string& path, RegistryValue value) {
    sim.SetRegistryValue(RegistryRoot::kLocalMachine, kSharedDlls, path, std::move(value));
  }
  bool HasCount(const std::string& path) {
    return sim.RegistryValueOf(RegistryRoot::kLocalMachine, kSharedDlls, path).has_value();
  }
};

TEST_F(SystemCleanupsTest, RecycleBinIsEmptiedWhenTheShellCanDoIt) {
  File("C:\\a.tmp", 1);
  File("C:\\b.tmp", 2);
  ASSERT_EQ(sim.MoveToRecycleBin("C:\\a.tmp"), platform::Recycled::kYes);
  sim.SetEmptyRecycleBinMissing(true);
  cleanups.EmptyRecycleBin();
  EXPECT_EQ(sim.RecycleBinPaths().size(), 1u);
  sim.SetEmptyRecycleBinMissing(false);
  ASSERT_EQ(sim.MoveToRecycleBin("C:\\b.tmp"), platform::Recycled::kYes);
  cleanups.EmptyRecycleBin();
  EXPECT_TRUE(sim.RecycleBinPaths().empty());
  // What the bin held is freed; the shell that could not empty it could not tell either.
  EXPECT_EQ(state.freedBytes, 3);
  EXPECT_EQ(state.removedFiles, 2);
}

// With an age, only the items the bin records as deleted that many days ago or more go, each
// with its record: a file, or a folder whose link inside is removed as a link. A record of no
// known form, another user's folder, a user's folder that is a link and a bin that is a link
// above it (to the documents, say) stay whole.
TEST_F(SystemCleanupsTest, RecycleBinItemsGoByTheDateTheBinRecords) {
  using platform::sim::SimSystem;
  const std::uint64_t now = sim.CurrentTime();
  const std::string mine = std::string("C:\\$Recycle.Bin\\") + SimSystem::kUserSid + "\\";
  const auto item = [&](const std::string& folder, const std::string& rest, std::uint64_t age,
                        std::size_t size, std::uint64_t version = 2) {
    sim.AddFile(folder + "$I" + rest, testing_world::BinRecord(now - age, size, version));
    File(folder + "$R" + rest, size);
  };
  item(mine, "OLD.txt", 30 * SimSystem::kDay, 100);
  item(mine, "EDGE.txt", 30 * SimSystem::kDay - 1, 7);
  item(mine, "ODD.txt", 90 * SimSystem::kDay, 5, 3);
  sim.AddFile(mine + "$IDIR", testing_world::BinRecord(now - 31 * SimSystem::kDay, 60));
  File(mine + "$RDIR\\inner.txt", 60);
  File("D:\\kept\\target.txt", 9);
  sim.AddFolderLink(mine + "$RDIR\\link", "D:\\kept");
  sim.AddFile(mine + "desktop.ini", "[.ShellClassInfo]");
  item("C:\\$Recycle.Bin\\S-1-5-21-1-2-3-500\\", "THEIRS.txt", 90 * SimSystem::kDay, 3);
  item("D:\\elsewhere\\", "OLD.txt", 90 * SimSystem::kDay, 4);
  sim.AddFolderLink(std::string("D:\\$Recycle.Bin\\") + SimSystem::kUserSid, "D:\\elsewhere");
  sim.AddDrive('F', platform::DriveType::kFixed);
  item(std::string("F:\\Documents\\") + SimSystem::kUserSid + "\\", "OLD.txt", 90 * SimSystem::kDay,
       6);
  sim.AddFolderLink("F:\\$Recycle.Bin", "F:\\Documents");
  cleanups.EmptyRecycleBinOf(30);
  cleanups.EmptyRecycleBin();
  for (const char* gone : {"$IOLD.txt", "$ROLD.txt", "$IDIR", "$RDIR"})
    EXPECT_FALSE(sim.Exists(mine + gone)) << gone;
  for (const char* kept : {"$IEDGE.txt", "$REDGE.txt", "$IODD.txt", "$RODD.txt", "desktop.ini"})
    EXPECT_TRUE(sim.Exists(mine + kept)) << kept;
  EXPECT_TRUE(sim.Exists("D:\\kept\\target.txt"));
  EXPECT_TRUE(sim.Exists("C:\\$Recycle.Bin\\S-1-5-21-1-2-3-500\\$RTHEIRS.txt"));
  EXPECT_TRUE(sim.Exists("D:\\elsewhere\\$ROLD.txt"));
  EXPECT_TRUE(sim.Exists(std::string("F:\\Documents\\") + SimSystem::kUserSid + "\\$ROLD.txt"));
  // The contents are the items; the records' bytes count, but no record is an item.
  const auto record = testing_world::BinRecord(0, 0).size();
  EXPECT_EQ(state.removedFiles, 2);
  EXPECT_EQ(state.freedBytes, static_cast<std::int64_t>(160 + 2 * record));
  EXPECT_EQ(Reported().size(), 2u) << "the linked folders of D: and F: are told of";
}

TEST_F(SystemCleanupsTest, OldUpdateFilesTakeTheSetupDollarAndDownloadFolders) {
  sim.SetWindowsFolder("C:\\WINDOWS");
  const std::string w = "C:\\Windows";
  sim.AddFolder(w);
  sim.SetShortName(w, "WINDOWS");
  File(w + "\\Windows Update Setup-Dateien\\setup.exe", 10);
  File(w + "\\Windows Update Setup-Dateien\\sub\\x.cab", 20);
  File(w + "\\$NtUninstallKB123$\\spuninst\\spuninst.exe", 40);
  File(w + "\\$hf_mig$\\KB1\\update.exe", 80);
  File(w + "\\$file$", 1000);
  File(w + "\\$notclosed\\keep.txt", 1000);
  File(w + "\\$locked$\\ro.dll", 1000, platform::attr::kReadOnly);
  File(w + "\\system32\\kernel32.dll", 1000);
  File(w + "\\SoftwareDistribution\\Download\\9f1e\\windows10.0-kb1.cab", 200);
  File(w + "\\SoftwareDistribution\\Download\\busy.psf", 1000);
  sim.SetInUse(w + "\\SoftwareDistribution\\Download\\busy.psf");
  File(w + "\\SoftwareDistribution\\DataStore\\DataStore.edb", 1000);
  File("D:\\Target\\keep.txt", 1000);
  sim.AddFolderLink(w + "\\$link$", "D:\\Target");

  cleanups.OldUpdateFiles();
  EXPECT_EQ(sim.Dump(w),
            "C:\\Windows\\$file$ (1000)\n"
            "C:\\Windows\\$notclosed\\\n"
            "C:\\Windows\\$notclosed\\keep.txt (1000)\n"
            "C:\\Windows\\$locked$\\\n"
            "C:\\Windows\\$locked$\\ro.dll (1000)\n"
            "C:\\Windows\\system32\\\n"
            "C:\\Windows\\system32\\kernel32.dll (1000)\n"
            "C:\\Windows\\SoftwareDistribution\\\n"
            "C:\\Windows\\SoftwareDistribution\\Download\\\n"
            "C:\\Windows\\SoftwareDistribution\\Download\\busy.psf (1000)\n"
            "C:\\Windows\\SoftwareDistribution\\DataStore\\\n"
            "C:\\Windows\\SoftwareDistribution\\DataStore\\DataStore.edb (1000)\n");
  EXPECT_TRUE(sim.Exists("D:\\Target\\keep.txt"));
  EXPECT_EQ(state.freedBytes, 350);
}

TEST_F(SystemCleanupsTest, OldUpdateFilesStopWithTheRun) {
  File("C:\\Windows\\Windows Update Setup-Dateien\\setup.exe", 10);
  File("C:\\Windows\\$NtUninstallKB1$\\a.exe", 20);
  const std::string before = sim.Dump();
  state.stop = true;
  cleanups.OldUpdateFiles();
  EXPECT_EQ(sim.Dump(), before);
}

TEST_F(SystemCleanupsTest, SystemLogIsEmptiedButKept) {
  File("C:\\Windows\\system32\\WBEM\\Logs\\wbemcore.log", 10);
  File("C:\\Windows\\system32\\WBEM\\Logs\\old\\wmiprov.lo_", 20);
  File("C:\\Windows\\system32\\WBEM\\Repository\\objects.data", 1000);
  cleanups.SystemLog();
  EXPECT_TRUE(sim.Exists("C:\\Windows\\system32\\WBEM\\Logs"));
  EXPECT_EQ(sim.Dump("C:\\Windows\\system32\\WBEM\\Logs"), "");
  EXPECT_TRUE(sim.Exists("C:\\Windows\\system32\\WBEM\\Repository\\objects.data"));
  EXPECT_EQ(state.freedBytes, 30);
}

TEST_F(SystemCleanupsTest, WithoutAWindowsFolderNothingIsTouched) {
  // "\Windows Update Setup-Dateien" would otherwise name a folder at the current drive's root.
  File("C:\\Windows Update Setup-Dateien\\keep.txt", 1);
  File("C:\\system32\\WBEM\\Logs\\keep.log", 2);
  File("C:\\$keep$\\x", 4);
  sim.SetWindowsFolder("");
  const std::string before = sim.Dump();
  cleanups.OldUpdateFiles();
  cleanups.SystemLog();
  EXPECT_EQ(sim.Dump(), before);
}

// A count of 0 says a library is no longer needed, nothing more: only a program file outside
// the Windows folder and every profile is taken, and its record goes only once the file has.
TEST_F(SystemCleanupsTest, OnlyUnusedLibrariesGoAndTheirCountsAfterThem) {
  using testing_world::PeImage;
  sim.SetSpecialFolder(platform::csidl::kUserProfiles, "C:\\Users");
  sim.SetSpecialFolder(platform::csidl::kProfile, "C:\\Users\\me");
  const std::string shared = "D:\\Shared\\";
  const std::pair<std::string, std::string> files[] = {
      {shared + "zero.dll", PeImage(100)},
      {shared + "ZERO2.OCX", PeImage(200)},
      {shared + "three.dll", PeImage(200)},
      {shared + "binary.dll", PeImage(400)},
      {shared + "busy.dll", PeImage(1600)},
      {shared + "thesis.docx", "my thesis"},
      {shared + "hosts", "127.0.0.1 localhost"},
      {shared + "text.dll", "not a program"},
      {"C:\\Windows\\system32\\kernel32.dll", PeImage(300)},
      {"C:\\Users\\me\\AppData\\plugin.dll", PeImage(300)},
      {"C:\\Users\\other\\plugin.dll", PeImage(300)}};
  for (const auto& [path, content] : files) {
    sim.AddFile(path, content);
    if (path != shared + "three.dll" && path != shared + "binary.dll") {
      Count(path, RegistryValue::FromDword(0));
    }
  }
  Count(shared + "three.dll", RegistryValue::FromDword(3));
  Count(shared + "binary.dll", {reg::kBinary, std::string(4, '\0')});
  sim.SetInUse(shared + "busy.dll");
  Count(shared + "missing.dll", RegistryValue::FromDword(0));
  // A relative name would be taken in the program's folder.
  sim.AddFile("C:\\Dustorix\\relative.dll", PeImage(300));
  Count("relative.dll", RegistryValue::FromDword(0));

  cleanups.RemoveZeroCountDlls();
  const std::vector<std::string> gone = {shared + "zero.dll", shared + "ZERO2.OCX"};
  EXPECT_EQ(Reported(), gone);
  EXPECT_EQ(state.freedBytes, 300);
  for (const auto& [path, content] : files) {
    const bool went = std::find(gone.begin(), gone.end(), path) != gone.end();
    EXPECT_EQ(sim.Exists(path), !went) << path;
    EXPECT_EQ(HasCount(path), !went) << path;
  }
  EXPECT_TRUE(HasCount(shared + "missing.dll"));
  EXPECT_TRUE(HasCount("relative.dll"));
  EXPECT_TRUE(sim.Exists("C:\\Dustorix\\relative.dll"));
}

TEST_F(SystemCleanupsTest, UnusedLibrariesGoToTheRecycleBinWhenTheUserAskedForIt) {
  cleanups::SpecialCleanups recycling{run, true, true};
  sim.AddFile("D:\\Shared\\zero.dll", testing_world::PeImage(100));
  Count("D:\\Shared\\zero.dll", RegistryValue::FromDword(0));
  sim.AddDrive('R', platform::DriveType::kRemovable);  // no bin there: the library stays
  sim.AddFile("R:\\zero.dll", testing_world::PeImage(100));
  Count("R:\\zero.dll", RegistryValue::FromDword(0));
  recycling.RemoveZeroCountDlls();
  EXPECT_EQ(sim.RecycleBinPaths(), std::vector<std::string>{"D:\\Shared\\zero.dll"});
  EXPECT_FALSE(HasCount("D:\\Shared\\zero.dll"));
  EXPECT_TRUE(sim.Exists("R:\\zero.dll"));
  EXPECT_TRUE(HasCount("R:\\zero.dll"));
}

TEST_F(SystemCleanupsTest, KeysThatCannotBeOpenedEndTheRegistryCleanUps) {
  cleanups.RemoveZeroCountDlls();  // neither key exists
  cleanups.ClearRunList();
  EXPECT_FALSE(sim.HasRegistryKey(RegistryRoot::kCurrentUser, kRunMru));
  EXPECT_FALSE(sim.HasRegistryKey(RegistryRoot::kLocalMachine, kSharedDlls));

  sim.AddFile("D:\\zero.dll", testing_world::PeImage(100));
  Count("D:\\zero.dll", RegistryValue::FromDword(0));
  sim.LockRegistryKey(RegistryRoot::kLocalMachine, kSharedDlls);
  sim.SetRegistryValue(RegistryRoot::kCurrentUser, kRunMru, "a", RegistryValue::FromText("x"));
  sim.LockRegistryKey(RegistryRoot::kCurrentUser, kRunMru);
  cleanups.RemoveZeroCountDlls();
  cleanups.ClearRunList();
  EXPECT_TRUE(sim.Exists("D:\\zero.dll"));
  EXPECT_TRUE(HasCount("D:\\zero.dll"));
  EXPECT_TRUE(sim.RegistryValueOf(RegistryRoot::kCurrentUser, kRunMru, "a"));
}

TEST_F(SystemCleanupsTest, RunListLosesEveryValueAndKeepsItsKey) {
  for (const char* name : {"a", "b", "c", "MRUList"})
    sim.SetRegistryValue(RegistryRoot::kCurrentUser, kRunMru, name,
                         RegistryValue::FromText("notepad\\1"));
  cleanups.ClearRunList();
  EXPECT_TRUE(sim.HasRegistryKey(RegistryRoot::kCurrentUser, kRunMru));
  EXPECT_TRUE(sim.RegistryValueNamesOf(RegistryRoot::kCurrentUser, kRunMru).empty());
  EXPECT_TRUE(Reported().empty());
}

}  // namespace
}  // namespace testing_cleanups
