// Behaviours only the sim has: seeding, short names, links, counters, and failures injected
// into the calls made on it.
#include <gtest/gtest.h>

#include "platform/sim/fault_injection.h"
#include "platform/sim/sim_system.h"

namespace {

using platform::DirEntry;
using platform::DriveType;
using platform::FileAccess;
using platform::sim::Op;
using platform::sim::SimSystem;

class SimSystemTest : public ::testing::Test {
 protected:
  SimSystemTest() {
    sim.AddDrive('C', DriveType::kFixed);
    sim.AddDrive('D', DriveType::kFixed);
  }
  std::vector<std::string> Names(std::string_view folder) {
    std::vector<std::string> names;
    sim.ListFolder(folder, [&](const DirEntry& entry) {
      names.push_back(entry.name);
      return true;
    });
    return names;
  }
  SimSystem sim;
  platform::sim::FaultInjector faults{sim};
};

TEST_F(SimSystemTest, ShortNamesAreFoundButNotListed) {
  sim.AddFolder("C:\\Program Files");
  sim.SetShortName("C:\\Program Files", "PROGRA~1");
  sim.AddFile("C:\\Program Files\\app.exe", "x");
  std::optional<DirEntry> entry = sim.LookUp("C:\\progra~1");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, "Program Files");
  EXPECT_TRUE(sim.LookUp("C:\\PROGRA~1\\app.exe"));
  EXPECT_EQ(Names("C:\\"), std::vector<std::string>{"Program Files"});
}

TEST_F(SimSystemTest, ListingThroughALinkShowsTheTarget) {
  sim.AddFile("D:\\target\\inside.txt", "x");
  sim.AddFolderLink("C:\\link", "D:\\target");
  EXPECT_EQ(Names("C:\\link"), std::vector<std::string>{"inside.txt"});
  EXPECT_TRUE(sim.Exists("C:\\link\\inside.txt"));
  // A cycle of links leads nowhere instead of looping.
  sim.AddFolderLink("C:\\loop1", "C:\\loop2");
  sim.AddFolderLink("C:\\loop2", "C:\\loop1");
  EXPECT_FALSE(sim.ListFolder("C:\\loop1", [](const DirEntry&) { return true; }));
}

TEST_F(SimSystemTest, PathFormsResolveLikeWin32) {
  sim.AddFile("C:\\work\\sub\\file.txt", "x");
  sim.SetCurrentDirectory("C:\\work");
  EXPECT_TRUE(sim.Exists("sub\\file.txt"));
  EXPECT_TRUE(sim.Exists("C:sub\\file.txt"));
  EXPECT_TRUE(sim.Exists(".\\sub\\..\\sub\\file.txt"));
  EXPECT_TRUE(sim.Exists("\\work\\sub/file.txt"));
  EXPECT_TRUE(sim.Exists("\\\\?\\C:\\work\\sub\\file.txt"));
  EXPECT_TRUE(sim.Exists("sub\\file.txt. "));  // normalised: trailing dots and blanks dropped
  EXPECT_FALSE(sim.Exists("C:\\work\\sub\\file.txt. "));  // canonical: taken verbatim
  EXPECT_FALSE(sim.Exists("\\\\server\\share\\file.txt"));
  EXPECT_FALSE(sim.Exists("C:\\work\\sub\\fi*.txt"));
}

TEST_F(SimSystemTest, NthCallFailureAndPartialWrite) {
  sim.AddFile("C:\\a.txt", "old");
  faults.FailNthCall(Op::kWriteFile, 2);
  EXPECT_TRUE(faults.WriteFile("C:\\a.txt", "first"));
  EXPECT_FALSE(faults.WriteFile("C:\\a.txt", "12345678"));
  EXPECT_EQ(sim.Content("C:\\a.txt"), "1234");  // half written, as a full disk leaves it
  EXPECT_TRUE(faults.WriteFile("C:\\a.txt", "third"));
  EXPECT_EQ(sim.Calls(Op::kWriteFile), 3u);
}

TEST_F(SimSystemTest, PathFailureHitsOnlyThatPath) {
  sim.AddFile("C:\\a.txt", "a");
  sim.AddFile("C:\\b.txt", "b");
  faults.FailPath(Op::kDeleteFile, "c:\\A.TXT");
  EXPECT_FALSE(faults.DeleteFile("C:\\a.txt"));
  EXPECT_TRUE(faults.DeleteFile("C:\\b.txt"));
  faults.ClearFailures();
  EXPECT_TRUE(faults.DeleteFile("C:\\a.txt"));
}

TEST_F(SimSystemTest, CountsListingsAndLookUps) {
  sim.AddFile("C:\\x\\y.txt", "x");
  sim.ResetCounters();
  Names("C:\\x");
  sim.LookUp("C:\\x\\y.txt");
  sim.LookUp("C:\\x\\z.txt");
  EXPECT_EQ(sim.Calls(Op::kListFolder), 1u);
  EXPECT_EQ(sim.Calls(Op::kLookUp), 2u);
}

TEST_F(SimSystemTest, LargeSizesAndFoldersOfManyFiles) {
  sim.AddFileOfSize("C:\\big.iso", 5ull << 30);
  EXPECT_EQ(sim.LookUp("C:\\big.iso")->size, 5ull << 30);
  for (int i = 0; i < 20000; ++i)
    sim.AddFile("C:\\many\\f" + std::to_string(i) + ".tmp", "");
  EXPECT_EQ(Names("C:\\many").size(), 20000u);
  EXPECT_TRUE(sim.DeleteFile("C:\\many\\F19999.TMP"));
  EXPECT_EQ(Names("C:\\many").size(), 19999u);
}

}  // namespace
