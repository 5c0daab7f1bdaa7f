// What the guards of the clean-ups rely on: where a path really leads, files made only when new,
// the start of a file, the environment.
#include "tests/platform/contract_world.h"

namespace testing_world {
namespace {

TEST_P(SystemContract, FinalPathsResolveEveryLinkOnTheWay) {
  World().MakeFile(At("sub\\file.txt"), "x");
  // The names as stored, whatever case they were asked in.
  EXPECT_EQ(Sys().FinalPath(At("SUB\\FILE.TXT")), At("sub\\file.txt"));
  EXPECT_EQ(Sys().FinalPath(At("sub\\")), At("sub"));
  EXPECT_EQ(Sys().FinalPath("T:\\"), "T:\\");
  EXPECT_EQ(Sys().FinalPath(At("missing")), "");
  // A link, and what lies behind it, lead elsewhere: the sim's to its target, Wine's out of
  // every drive (which tells nothing of where).
  for (const std::string& linked :
       {World().FixtureLink(), World().FixtureLink() + "\\keep.txt", World().FixtureFileLink()}) {
    const std::string final = Sys().FinalPath(linked);
    EXPECT_NE(final, linked);
    EXPECT_TRUE(final.empty() || final.find("outside") != std::string::npos) << final;
  }
}

TEST_P(SystemContract, NewFilesAreMadeOnlyWhereNothingIs) {
  EXPECT_TRUE(Sys().WriteNewFile(At("new.txt"), "fresh"));
  EXPECT_EQ(World().ContentOf(At("new.txt")), "fresh");
  EXPECT_FALSE(Sys().WriteNewFile(At("new.txt"), "again"));
  EXPECT_EQ(World().ContentOf(At("new.txt")), "fresh");
  EXPECT_FALSE(Sys().WriteNewFile(World().FixtureFileLink(), "through"));
  EXPECT_EQ(World().ContentOf(World().FixtureFileLink()), "keep");
  EXPECT_FALSE(Sys().WriteNewFile(At("no folder\\x.txt"), "x"));
}

TEST_P(SystemContract, TheStartOfAFileIsReadUpToTheCount) {
  World().MakeFile(At("lib.dll"), std::string("MZ\0\x90rest", 8));
  EXPECT_EQ(Sys().ReadFileStart(At("lib.dll"), 4), std::string("MZ\0\x90", 4));
  EXPECT_EQ(Sys().ReadFileStart(At("lib.dll"), 100), std::string("MZ\0\x90rest", 8));
  EXPECT_FALSE(Sys().ReadFileStart(At("missing.dll"), 4));
}

TEST_P(SystemContract, TheEnvironmentIsTold) {
  World().SetTempFolder(World().Root());
  EXPECT_EQ(Sys().EnvironmentVariable("TMP"), World().Root());
  EXPECT_EQ(Sys().EnvironmentVariable("tmp"), World().Root());
  EXPECT_FALSE(Sys().EnvironmentVariable("DUSTORIX_NEVER_SET"));
  EXPECT_FALSE(Sys().IsHostRootDrive('T'));
}

}  // namespace
}  // namespace testing_world
