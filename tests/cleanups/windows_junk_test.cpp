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

}  // namespace
}  // namespace testing_cleanups
