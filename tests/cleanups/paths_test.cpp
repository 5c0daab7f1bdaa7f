// Path text taken apart without the file system.
#include <gtest/gtest.h>

#include "cleanups/paths.h"

namespace {

using cleanups::IsAbsolutePath;
using cleanups::IsDriveRoot;
using cleanups::Under;

TEST(PathText, DriveRootsInEverySpelling) {
  for (const char* root : {"C:", "c:\\", "C:/", "C:\\\\", "\\", "\\\\server\\share",
                           "\\\\server\\share\\", "\\\\server", "\\\\?\\C:\\",
                           "\\\\.\\D:", "\\\\?\\UNC\\server\\share\\", "\\\\?\\Volume{1234}\\"}) {
    EXPECT_TRUE(IsDriveRoot(root)) << root;
  }
  for (const char* folder : {"", "C:\\Temp", "C:Temp", "Temp", "\\Temp", "\\\\server\\share\\x",
                             "\\\\?\\C:\\Temp", "\\\\?\\UNC\\server\\share\\x"}) {
    EXPECT_FALSE(IsDriveRoot(folder)) << folder;
  }
}

TEST(PathText, OnlyFullPathsStandOnTheirOwn) {
  for (const char* full : {"C:\\", "d:\\Opera", "\\\\server\\share", "\\\\server\\share\\x"})
    EXPECT_TRUE(IsAbsolutePath(full)) << full;
  for (const char* relative : {"", "C:", "C:Opera", "Opera", "\\Opera", "\\\\server", "\\\\\\x"})
    EXPECT_FALSE(IsAbsolutePath(relative)) << relative;
}

TEST(PathText, UnderPutsOneBackslashBetween) {
  EXPECT_EQ(Under("C:\\Windows", "Temp"), "C:\\Windows\\Temp");
  EXPECT_EQ(Under("C:\\", "\\Temp\\"), "C:\\Temp\\");
  EXPECT_EQ(Under("D:\\Opera\\", "profile\\cache4"), "D:\\Opera\\profile\\cache4");
  EXPECT_EQ(Under("", "Temp"), "");
}

}  // namespace
