// Hostile trees on the real file system of the sandbox's test drive T:: names only the \\?\ form
// reaches, a host symlink that leads back to its own folder, a tree deeper than MAX_PATH.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "clean/scan.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "tests/clean/test_run.h"
#include "tests/win32/test_files.h"

namespace {

// Trailing dots and blanks stay in the names these make and look for.
using testing_win32::Exists;
using testing_win32::MakeFile;
using testing_win32::MakeFolder;

class HostileTreesWin32 : public ::testing::Test {
 protected:
  HostileTreesWin32() {
    static std::atomic<int> counter{0};
    folder =
        "T:\\hostile-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
    MakeFolder(folder);
  }

  // A scan of `root` as a clean run makes it, deleting for good.
  std::vector<std::string> Scan(const std::string& root, std::vector<std::string> patterns,
                                bool zeroBytePass) {
    clean::RunSettings& settings = test.settings;
    settings.FileEndingList = std::move(patterns);
    settings.AdvancedOptions[settings::kZeroByteFiles] = zeroBytePass;
    clean::Scanner scanner(test.run, settings, [this](const std::string& path, std::uint64_t) {
      return system.DeleteFile(path);
    });
    scanner.ScanFolder(root);
    return test.view.report;
  }

  std::string folder;
  platform::win32::Win32System system;
  testing_clean::TestRun test{system};
};

TEST_F(HostileTreesWin32, TrailingDotAndBlankNamesAreRemovedExactlyNeverTheirNamesakes) {
  MakeFile(folder + "\\junk", "the namesake stays");
  MakeFile(folder + "\\junk.", "");
  MakeFile(folder + "\\junk ", "");
  MakeFile(folder + "\\dir. \\junk", "");
  MakeFile(folder + "\\dir\\junk", "the namesake stays");

  // The shell cannot be given such a name: it would recycle the namesake.
  EXPECT_EQ(system.MoveToRecycleBin(folder + "\\junk."), platform::Recycled::kRefused);
  EXPECT_EQ(system.MoveToRecycleBin(folder + "\\dir. \\junk"), platform::Recycled::kRefused);
  EXPECT_TRUE(Exists(folder + "\\junk"));

  std::vector<std::string> removed = Scan(folder, {}, true);
  std::sort(removed.begin(), removed.end());
  EXPECT_EQ(removed, (std::vector<std::string>{folder + "\\dir. \\junk", folder + "\\junk ",
                                               folder + "\\junk."}));
  EXPECT_FALSE(Exists(folder + "\\junk."));
  EXPECT_FALSE(Exists(folder + "\\junk "));
  EXPECT_FALSE(Exists(folder + "\\dir. \\junk"));
  EXPECT_EQ(system.ReadFile(folder + "\\junk", platform::FileAccess::kRead).bytes,
            "the namesake stays");
  EXPECT_EQ(system.ReadFile(folder + "\\dir\\junk", platform::FileAccess::kRead).bytes,
            "the namesake stays");
}

TEST_F(HostileTreesWin32, AHostSymlinkBackToItsOwnFolderIsNeitherEnteredNorRemoved) {
  // scripts/wine-test makes T:\cycle\loop, a host symlink to T:\cycle itself.
  MakeFile("T:\\cycle\\j" + folder.substr(3) + ".tmp", "x");
  std::optional<platform::DirEntry> loop = system.LookUp("T:\\cycle\\loop");
  ASSERT_TRUE(loop);
  EXPECT_TRUE(loop->IsReparsePoint());
  const std::vector<std::string> removed = Scan("T:\\cycle", {"*.tmp", "loop"}, false);
  EXPECT_EQ(removed, std::vector<std::string>{"T:\\cycle\\j" + folder.substr(3) + ".tmp"});
  EXPECT_TRUE(system.LookUp("T:\\cycle\\loop"));
}

TEST_F(HostileTreesWin32, ATreeDeeperThanMaxPathIsCleanedToTheBottom) {
  std::string deep = folder;
  for (int i = 0; i < 60; ++i)
    deep += "\\level" + std::to_string(i);
  ASSERT_GT(deep.size(), 400u);
  MakeFile(deep + "\\bottom.tmp", "1234567");
  MakeFile(deep + "\\bottom.txt", "keep");
  EXPECT_EQ(Scan(folder, {"*.tmp"}, false), std::vector<std::string>{deep + "\\bottom.tmp"});
  EXPECT_EQ(test.state.freedBytes, 7);
  EXPECT_FALSE(Exists(deep + "\\bottom.tmp"));
  EXPECT_TRUE(Exists(deep + "\\bottom.txt"));
}

}  // namespace
