// Error reports, crash dumps and shader caches: each place, and the part left to administrators.
#include "tests/cleanups/cleanups_harness.h"

namespace testing_cleanups {
namespace {

using Paths = std::vector<std::string>;

class WindowsJunkTest : public CleanupsTest {
 protected:
  WindowsJunkTest() {
    sim.SetSpecialFolder(platform::csidl::kLocalAppData, "C:\\Local");
    sim.SetSpecialFolder(platform::csidl::kCommonAppData, "C:\\ProgramData");
  }
  const std::string wer = "\\Microsoft\\Windows\\WER\\";
  const Paths user = {"C:\\Local" + wer + "ReportArchive", "C:\\Local" + wer + "ReportQueue",
                      "C:\\Local" + wer + "Temp", "C:\\Local\\CrashDumps"};
  const Paths system = {"C:\\ProgramData" + wer + "ReportArchive",
                        "C:\\ProgramData" + wer + "ReportQueue", "C:\\ProgramData" + wer + "Temp",
                        "C:\\Windows\\Minidump", "C:\\Windows\\LiveKernelReports"};
  const Paths shaders = {"C:\\Local\\D3DSCache",       "C:\\Local\\NVIDIA\\DXCache",
                         "C:\\Local\\NVIDIA\\GLCache", "C:\\Local\\AMD\\DxCache",
                         "C:\\Local\\AMD\\DxcCache",   "C:\\Local\\AMD\\GLCache"};
};

TEST_F(WindowsJunkTest, EachPlaceIsEmptiedAndKeptTheSystemsOnlyForAdministrators) {
  for (const Paths* places : {&user, &system, &shaders}) {
    for (const std::string& place : *places)
      File(place + "\\sub\\x.dat", 1);
  }
  File("C:\\Windows\\MEMORY.DMP", 100);
  File("C:\\Local" + wer + "wer.dat", 1000);  // beside the report folders
  File("C:\\Local\\NVIDIA\\Settings\\profile.nvp", 1000);
  cleanups::SpecialCleanups notAdmin(run, false);
  notAdmin.ErrorReports();
  notAdmin.ShaderCaches();
  EXPECT_EQ(state.removedFiles, 10);  // none of the system's
  cleanups.ErrorReports();
  for (const Paths* places : {&user, &system, &shaders}) {
    for (const std::string& place : *places)
      EXPECT_EQ(sim.Dump(place), "") << place;
  }
  EXPECT_FALSE(sim.Exists("C:\\Windows\\MEMORY.DMP"));
  EXPECT_TRUE(sim.Exists("C:\\Local" + wer + "wer.dat"));
  EXPECT_TRUE(sim.Exists("C:\\Local\\NVIDIA\\Settings\\profile.nvp"));
  EXPECT_EQ(state.freedBytes, 115);
}

// A stopped run deletes nothing more. A dump Windows still writes stays uncounted; a place that
// is itself a link (a cache moved to another drive, or anything) is neither entered nor removed.
TEST_F(WindowsJunkTest, AStopFilesInUseAndLinkedPlacesLeaveTheirFiles) {
  File("C:\\Windows\\MEMORY.DMP", 100);
  File("C:\\Local\\CrashDumps\\a.dmp", 1);
  File("D:\\Moved\\cache.bin", 200);
  sim.AddFolderLink("C:\\Local\\D3DSCache", "D:\\Moved");
  sim.AddFolderLink("C:\\Windows\\Minidump", "D:\\Moved");
  sim.AddFolderLink("C:\\Windows\\LiveKernelReports\\inner", "D:\\Moved");
  const std::string before = sim.Dump();
  state.stop = true;
  cleanups.ErrorReports();
  EXPECT_EQ(sim.Dump(), before);
  state.stop = false;
  sim.SetInUse("C:\\Windows\\MEMORY.DMP");
  cleanups.ErrorReports();
  cleanups.ShaderCaches();
  for (const char* kept : {"C:\\Windows\\MEMORY.DMP", "D:\\Moved\\cache.bin",
                           "C:\\Local\\D3DSCache", "C:\\Windows\\Minidump"})
    EXPECT_TRUE(sim.Exists(kept)) << kept;
  EXPECT_FALSE(sim.Exists("C:\\Windows\\LiveKernelReports\\inner"));  // inside: a link goes
  EXPECT_EQ(state.freedBytes, 1);
}

// Windows' own categories: only the caches' and logs' own files go, the files in use stay, the
// system's parts are the administrators', and a place that leads elsewhere is left whole.
TEST_F(WindowsJunkTest, ThumbnailsDeliveryOptimizationAndUpgradeLogsTakeOnlyTheirFiles) {
  sim.SetWindowsFolder("C:\\Windows");
  const std::string explorer = "C:\\Local\\Microsoft\\Windows\\Explorer\\";
  const std::string delivery =
      "C:\\Windows\\ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\"
      "DeliveryOptimization\\";
  File(explorer + "thumbcache_256.db", 100);
  File(explorer + "iconcache_32.db", 10);
  File(explorer + "thumbcache_idx.db", 1);
  sim.SetInUse(explorer + "thumbcache_idx.db");  // Explorer holds it
  File(explorer + "ExplorerStartupLog.etl", 1000);
  File(explorer + "NotifyIcon\\thumbcache_copy.db", 1000);  // not the cache's own folder
  File(delivery + "Cache\\ab\\piece", 200);
  File(delivery + "State\\dosvcState.dat", 1000);
  File("C:\\Windows\\Panther\\setupact.log", 20);
  File("C:\\Windows\\Panther\\UnattendGC\\setupact.log", 20);
  File("C:\\Windows\\Panther\\unattend.xml", 1000);
  File("C:\\Windows\\Logs\\CBS\\CBS.log", 40);
  File("C:\\Windows\\Logs\\CBS\\CbsPersist_1.cab", 1000);
  File("C:\\$Windows.~BT\\Sources\\Panther\\setuperr.log", 80);
  const std::string before = sim.Dump();

  cleanups::SpecialCleanups notAdmin(run, false);
  notAdmin.DeliveryOptimization();
  notAdmin.UpgradeLogs();
  EXPECT_EQ(sim.Dump(), before);
  notAdmin.Thumbnails();
  cleanups.DeliveryOptimization();
  cleanups.UpgradeLogs();
  for (const std::string& gone :
       {explorer + "thumbcache_256.db", explorer + "iconcache_32.db", delivery + "Cache\\ab\\piece",
        std::string("C:\\Windows\\Panther\\setupact.log"),
        std::string("C:\\Windows\\Panther\\UnattendGC\\setupact.log"),
        std::string("C:\\Windows\\Logs\\CBS\\CBS.log"),
        std::string("C:\\$Windows.~BT\\Sources\\Panther\\setuperr.log")}) {
    EXPECT_FALSE(sim.Exists(gone)) << gone;
  }
  EXPECT_EQ(state.freedBytes, 100 + 10 + 200 + 20 + 20 + 40 + 80);
  for (const std::string& kept :
       {explorer + "thumbcache_idx.db", explorer + "ExplorerStartupLog.etl",
        explorer + "NotifyIcon\\thumbcache_copy.db", delivery + "Cache",
        delivery + "State\\dosvcState.dat", std::string("C:\\Windows\\Panther\\unattend.xml"),
        std::string("C:\\Windows\\Logs\\CBS\\CbsPersist_1.cab")}) {
    EXPECT_TRUE(sim.Exists(kept)) << kept;
  }

  // The Explorer folder a link to the documents: left whole, and said so.
  File("C:\\Users\\tester\\Documents\\thumbcache_mine.db", 5);
  sim.SetSpecialFolder(platform::csidl::kDocuments, "C:\\Users\\tester\\Documents");
  sim.SetSpecialFolder(platform::csidl::kLocalAppData, "C:\\Local2");
  sim.AddFolderLink("C:\\Local2\\Microsoft\\Windows\\Explorer", "C:\\Users\\tester\\Documents");
  cleanups.Thumbnails();
  EXPECT_TRUE(sim.Exists("C:\\Users\\tester\\Documents\\thumbcache_mine.db"));
  EXPECT_EQ(Reported().size(), 1u);
}

// Old downloads by their last write, below too: a file exactly the days old goes, one a moment
// younger stays, and so do the folders, a file in use, a file of no known time and whatever a
// link inside leads to.
TEST_F(WindowsJunkTest, DownloadsTakeOnlyFilesNotWrittenForTheDaysChosen) {
  constexpr std::uint64_t kDay = platform::sim::SimSystem::kDay;
  const std::string downloads = "C:\\Users\\tester\\Downloads\\";
  sim.SetSpecialFolder(platform::csidl::kDownloads, "C:\\Users\\tester\\Downloads");
  const std::uint64_t now = sim.CurrentTime();
  const auto seed = [&](const std::string& path, std::size_t size, std::uint64_t age) {
    File(path, size);
    sim.SetWriteTime(path, now - age);
  };
  seed(downloads + "setup.exe", 100, 30 * kDay);
  seed(downloads + "photos\\trip.zip", 200, 45 * kDay);
  seed(downloads + "fresh.pdf", 1000, 30 * kDay - 1);
  seed(downloads + "photos\\new.jpg", 1000, kDay);
  seed(downloads + "open.iso", 1000, 90 * kDay);
  sim.SetInUse(downloads + "open.iso");
  seed(downloads + "untimed.txt", 1000, 90 * kDay);
  sim.SetWriteTime(downloads + "untimed.txt", 0);
  seed("D:\\Data\\thesis.doc", 1000, 90 * kDay);
  sim.AddFolderLink(downloads + "Data", "D:\\Data");
  seed(downloads + "empty\\old.txt", 7, 31 * kDay);

  cleanups.RemoveDownloadsNotWrittenFor(30);
  cleanups.Downloads();
  for (const char* gone : {"setup.exe", "photos\\trip.zip", "empty\\old.txt"})
    EXPECT_FALSE(sim.Exists(downloads + gone)) << gone;
  for (const char* kept : {"fresh.pdf", "photos\\new.jpg", "open.iso", "untimed.txt", "empty"})
    EXPECT_TRUE(sim.Exists(downloads + kept)) << kept;
  EXPECT_TRUE(sim.Exists("D:\\Data\\thesis.doc"));
  EXPECT_EQ(state.freedBytes, 307);
  EXPECT_EQ(state.removedFiles, 3);
  EXPECT_TRUE(Reported().empty());

  // Fewer days chosen: what is now older than those goes too.
  cleanups.RemoveDownloadsNotWrittenFor(1);
  cleanups.Downloads();
  EXPECT_FALSE(sim.Exists(downloads + "fresh.pdf"));
  EXPECT_FALSE(sim.Exists(downloads + "photos\\new.jpg"));
  EXPECT_TRUE(sim.Exists(downloads + "open.iso"));
}

// A Downloads folder that is a link, that is redirected to the documents or a drive root, or
// lies outside the profile is left whole and reported.
TEST_F(WindowsJunkTest, ADownloadsFolderThatIsNoneIsLeftAloneAndReported) {
  namespace csidl = platform::csidl;
  constexpr std::uint64_t kDay = platform::sim::SimSystem::kDay;
  const std::string documents = "C:\\Users\\tester\\Documents";
  sim.SetSpecialFolder(csidl::kDocuments, documents);
  for (const std::string& file : {documents + "\\letter.doc", std::string("D:\\notes.txt"),
                                  std::string("D:\\Fetched\\a.zip")}) {
    File(file, 10);
    sim.SetWriteTime(file, sim.CurrentTime() - 100 * kDay);
  }
  sim.AddFolderLink("C:\\Users\\tester\\Downloads", documents);
  sim.AddFolderLink("C:\\Users\\tester\\Drive", "D:\\");
  const std::string before = sim.Dump();
  for (const char* place : {"C:\\Users\\tester\\Downloads", "C:\\Users\\tester\\Documents",
                            "C:\\Users\\tester\\Drive", "D:\\Fetched"}) {
    sim.SetSpecialFolder(csidl::kDownloads, place);
    cleanups.Downloads();
    EXPECT_EQ(sim.Dump(), before) << place;
  }
  EXPECT_EQ(Reported().size(), 4u);
  EXPECT_EQ(state.removedFiles, 0);
}

}  // namespace
}  // namespace testing_cleanups
