// Error reports, crash dumps and shader caches: each place, and the part kept for administrators.
#include "tests/cleanups/cleanups_harness.h"

namespace testing_cleanups {
namespace {

namespace csidl = platform::csidl;

constexpr const char* kLocal = "C:\\Users\\tester\\AppData\\Local";
constexpr const char* kCommon = "C:\\ProgramData";

class WindowsJunkTest : public CleanupsTest {
 protected:
  WindowsJunkTest() {
    sim.SetSpecialFolder(csidl::kLocalAppData, kLocal);
    sim.SetSpecialFolder(csidl::kCommonAppData, kCommon);
  }
  // A file under the local application data folder.
  void Local(const std::string& tail, std::size_t size) {
    File(std::string(kLocal) + "\\" + tail, size);
  }
  bool LocalExists(const std::string& tail) {
    return sim.Exists(std::string(kLocal) + "\\" + tail);
  }
};

TEST_F(WindowsJunkTest, ErrorReportsTakeTheUsersPlacesAndForAdministratorsTheSystems) {
  Local("Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_a\\Report.wer", 1);
  Local("Microsoft\\Windows\\WER\\ReportQueue\\AppHang_b\\Report.wer", 2);
  Local("Microsoft\\Windows\\WER\\Temp\\x.tmp", 4);
  Local("Microsoft\\Windows\\WER\\settings.dat", 1000);  // not a report folder
  Local("CrashDumps\\game.exe.512.dmp", 8);
  File(std::string(kCommon) + "\\Microsoft\\Windows\\WER\\ReportArchive\\Kernel_c\\Report.wer", 16);
  File(std::string(kCommon) + "\\Microsoft\\Windows\\WER\\ReportQueue\\q.wer", 32);
  File(std::string(kCommon) + "\\Microsoft\\Windows\\WER\\Temp\\t.xml", 64);
  File("C:\\Windows\\MEMORY.DMP", 128);
  File("C:\\Windows\\Minidump\\010124-01.dmp", 256);
  File("C:\\Windows\\LiveKernelReports\\WATCHDOG\\WD-1.dmp", 512);
  File("C:\\Windows\\LiveKernelReports\\k.dmp", 1024);
  File("C:\\Windows\\win.ini", 1000);
  const std::string system = sim.Dump(kCommon) + sim.Dump("C:\\Windows");

  cleanups::SpecialCleanups user(run, false);
  user.ErrorReports();
  EXPECT_EQ(sim.Dump(std::string(kLocal)),
            "C:\\Users\\tester\\AppData\\Local\\Microsoft\\\n"
            "C:\\Users\\tester\\AppData\\Local\\Microsoft\\Windows\\\n"
            "C:\\Users\\tester\\AppData\\Local\\Microsoft\\Windows\\WER\\\n"
            "C:\\Users\\tester\\AppData\\Local\\Microsoft\\Windows\\WER\\ReportArchive\\\n"
            "C:\\Users\\tester\\AppData\\Local\\Microsoft\\Windows\\WER\\ReportQueue\\\n"
            "C:\\Users\\tester\\AppData\\Local\\Microsoft\\Windows\\WER\\Temp\\\n"
            "C:\\Users\\tester\\AppData\\Local\\Microsoft\\Windows\\WER\\settings.dat (1000)\n"
            "C:\\Users\\tester\\AppData\\Local\\CrashDumps\\\n");
  EXPECT_EQ(sim.Dump(kCommon) + sim.Dump("C:\\Windows"), system);
  EXPECT_EQ(state.freedBytes, 15);
  EXPECT_EQ(state.removedFiles, 4);

  cleanups.ErrorReports();
  EXPECT_EQ(sim.Dump(kCommon),
            "C:\\ProgramData\\Microsoft\\\n"
            "C:\\ProgramData\\Microsoft\\Windows\\\n"
            "C:\\ProgramData\\Microsoft\\Windows\\WER\\\n"
            "C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\\n"
            "C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\\n"
            "C:\\ProgramData\\Microsoft\\Windows\\WER\\Temp\\\n");
  EXPECT_EQ(sim.Dump("C:\\Windows"),
            "C:\\Windows\\Minidump\\\n"
            "C:\\Windows\\LiveKernelReports\\\n"
            "C:\\Windows\\win.ini (1000)\n");
  EXPECT_EQ(state.freedBytes, 2047);
  EXPECT_EQ(state.removedFiles, 11);
}

TEST_F(WindowsJunkTest, ShaderCachesAreEmptiedAndKept) {
  const char* caches[] = {"D3DSCache",    "NVIDIA\\DXCache", "NVIDIA\\GLCache",
                          "AMD\\DxCache", "AMD\\DxcCache",   "AMD\\GLCache"};
  for (const char* cache : caches)
    Local(std::string(cache) + "\\sub\\cache.bin", 10);
  Local("NVIDIA\\Settings\\profile.nvp", 1000);
  Local("AMD\\CN\\settings.json", 1000);
  cleanups::SpecialCleanups user(run, false);
  user.ShaderCaches();
  for (const char* cache : caches) {
    EXPECT_TRUE(LocalExists(cache)) << cache;
    EXPECT_FALSE(LocalExists(std::string(cache) + "\\sub")) << cache;
  }
  EXPECT_TRUE(LocalExists("NVIDIA\\Settings\\profile.nvp"));
  EXPECT_TRUE(LocalExists("AMD\\CN\\settings.json"));
  EXPECT_EQ(state.freedBytes, 60);
  EXPECT_EQ(state.removedFiles, 6);
}

// A dump Windows still writes stays uncounted; a place that is itself a link leads elsewhere
// (a cache moved to another drive, or anything): it is neither entered nor removed.
TEST_F(WindowsJunkTest, FilesInUseStayAndPlacesThatAreLinksAreLeftWhole) {
  File("C:\\Windows\\MEMORY.DMP", 100);
  sim.SetInUse("C:\\Windows\\MEMORY.DMP");
  Local("CrashDumps\\busy.dmp", 200);
  sim.SetInUse(std::string(kLocal) + "\\CrashDumps\\busy.dmp");
  Local("CrashDumps\\done.dmp", 1);
  File("D:\\Games\\ShaderCache\\keep.bin", 400);
  sim.AddFolderLink(std::string(kLocal) + "\\D3DSCache", "D:\\Games\\ShaderCache");
  File("D:\\Documents\\letter.doc", 800);
  sim.AddFolderLink("C:\\Windows\\Minidump", "D:\\Documents");
  sim.AddFolderLink("C:\\Windows\\LiveKernelReports\\inner", "D:\\Documents");
  cleanups.ErrorReports();
  cleanups.ShaderCaches();
  EXPECT_TRUE(sim.Exists("C:\\Windows\\MEMORY.DMP"));
  EXPECT_TRUE(LocalExists("CrashDumps\\busy.dmp"));
  EXPECT_FALSE(LocalExists("CrashDumps\\done.dmp"));
  EXPECT_TRUE(sim.Exists("D:\\Games\\ShaderCache\\keep.bin"));
  EXPECT_TRUE(LocalExists("D3DSCache"));
  EXPECT_TRUE(sim.Exists("D:\\Documents\\letter.doc"));
  EXPECT_TRUE(sim.Exists("C:\\Windows\\Minidump"));
  EXPECT_FALSE(sim.Exists("C:\\Windows\\LiveKernelReports\\inner"));  // inside: a link goes
  EXPECT_EQ(state.freedBytes, 1);
}

TEST_F(WindowsJunkTest, AStoppedRunDeletesNothingHere) {
  Local("CrashDumps\\a.dmp", 1);
  Local("D3DSCache\\b.bin", 2);
  File("C:\\Windows\\MEMORY.DMP", 4);
  const std::string before = sim.Dump();
  state.stop = true;
  cleanups.ErrorReports();
  cleanups.ShaderCaches();
  EXPECT_EQ(sim.Dump(), before);
}

}  // namespace
}  // namespace testing_cleanups
