#include "settings/exceptions.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

TEST(ExceptionMatcher, NamesPatternsAndFoldersAsWindowsComparesThem) {
  ExceptionMatcher keep({"Thumbs.db", "\xC3\x84rger.txt", "*.sav.tmp", "?.tmp", "D:\\Games\\",
                         "d:/music", "C:\\Work\\notes.tmp", "\\\\nas\\share\\", "", "sub\\x.tmp"});
  struct Case {
    const char* folder;
    const char* name;
    bool kept;
  };
  const Case cases[] = {
      {"C:\\", "THUMBS.DB", true},
      {"C:\\", "thumbs.db.tmp", false},
      {"C:\\", "\xC3\xA4RGER.TXT", true},  // Ä and ä are one letter to Windows
      {"C:\\x\\", "level1.SAV.tmp", true},
      {"C:\\x\\", "level1.tmp", false},
      {"C:\\", "a.tmp", true},
      {"C:\\", "ab.tmp", false},
      {"D:\\games\\", "xy.tmp", true},
      {"D:\\GAMES\\deep\\", "xy.tmp", true},
      {"D:\\Gamesx\\", "xy.tmp", false},
      {"D:\\", "Games", true},  // the folder itself
      {"D:\\Music\\", "ab.tmp", true},
      {"C:\\Work\\", "notes.tmp", true},
      {"C:\\Work\\", "notes.tmp2", false},
      {"\\\\nas\\share\\x\\", "ab.tmp", true},
      {"C:\\sub\\", "xy.tmp", false},  // a folder part without a drive names nothing
  };
  for (const Case& c : cases)
    EXPECT_EQ(keep.KeepsFile(c.folder, c.name), c.kept) << c.folder << c.name;
  EXPECT_TRUE(keep.KeepsFolder("D:\\Games\\Saves\\"));
  EXPECT_TRUE(keep.KeepsFolder("d:\\games\\"));
  EXPECT_FALSE(keep.KeepsFolder("D:\\"));
  EXPECT_FALSE(keep.KeepsFolder("C:\\Work\\"));

  ExceptionMatcher drive({"R:\\"});
  EXPECT_TRUE(drive.KeepsFolder("R:\\"));
  EXPECT_TRUE(drive.KeepsFile("R:\\a\\", "b.tmp"));
  EXPECT_FALSE(ExceptionMatcher({}).KeepsFile("C:\\", "a.tmp"));
}

TEST(ExceptionMatcher, ANameThatIsNoUtf8EqualsOnlyItself) {
  ExceptionMatcher keep({"\xFF.tmp"});
  EXPECT_TRUE(keep.KeepsFile("C:\\", "\xFF.tmp"));
  EXPECT_FALSE(keep.KeepsFile("C:\\", "\xFE.tmp"));
}

}  // namespace
}  // namespace settings
