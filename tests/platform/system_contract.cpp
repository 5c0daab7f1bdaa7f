// What every System backend must do alike; run on the sim here and on win32 under Wine.
#include <algorithm>
#include <map>

#include "settings/list_file.h"
#include "tests/platform/contract_world.h"

namespace testing_world {
namespace {

using platform::DirEntry;
using platform::FileAccess;
using platform::ReadError;
namespace attr = platform::attr;

std::map<std::string, DirEntry> Listing(platform::System& system, const std::string& folder) {
  std::map<std::string, DirEntry> entries;
  const bool listed = system.ListFolder(folder, [&](const DirEntry& entry) {
    entries[entry.name] = entry;
    return true;
  });
  EXPECT_TRUE(listed) << folder;
  return entries;
}

TEST_P(SystemContract, ReadsWholeFilesByteForByte) {
  const std::string bytes("a\r\nb\rc\n\x1A\0\xC3\xA4\xFF", 11);
  World().MakeFile(At("data.bin"), bytes);
  for (FileAccess access : {FileAccess::kRead, FileAccess::kReadWrite}) {
    platform::ReadResult read = Sys().ReadFile(At("data.bin"), access);
    ASSERT_TRUE(read.bytes);
    EXPECT_EQ(*read.bytes, bytes);
  }
  World().MakeFile(At("empty.dat"), "");
  EXPECT_EQ(Sys().ReadFile(At("empty.dat"), FileAccess::kRead).bytes, std::string());
}

TEST_P(SystemContract, ReadTellsAMissingFileFromAnUnreadableOne) {
  platform::ReadResult missing = Sys().ReadFile(At("missing.dat"), FileAccess::kRead);
  EXPECT_FALSE(missing.bytes);
  EXPECT_EQ(missing.error, ReadError::kNotFound);
  EXPECT_EQ(Sys().ReadFile(At("no\\such\\folder.dat"), FileAccess::kRead).error,
            ReadError::kNotFound);

  World().MakeFolder(At("folder"));
  platform::ReadResult folder = Sys().ReadFile(At("folder"), FileAccess::kRead);
  EXPECT_FALSE(folder.bytes);
  EXPECT_EQ(folder.error, ReadError::kOther);
}

TEST_P(SystemContract, ReadOnlyFileIsReadableButNotOpenForWriting) {
  World().MakeFile(At("locked.dat"), "xyz", attr::kReadOnly);
  EXPECT_EQ(Sys().ReadFile(At("locked.dat"), FileAccess::kRead).bytes, "xyz");
  platform::ReadResult both = Sys().ReadFile(At("locked.dat"), FileAccess::kReadWrite);
  EXPECT_FALSE(both.bytes);
  EXPECT_EQ(both.error, ReadError::kOther);
}

TEST_P(SystemContract, WriteCreatesAndTruncates) {
  ASSERT_TRUE(Sys().WriteFile(At("new.dat"), "first, longer content"));
  EXPECT_EQ(World().ContentOf(At("new.dat")), "first, longer content");
  ASSERT_TRUE(Sys().WriteFile(At("new.dat"), "short"));
  EXPECT_EQ(World().ContentOf(At("new.dat")), "short");
  ASSERT_TRUE(Sys().WriteFile(At("new.dat"), ""));
  EXPECT_EQ(World().ContentOf(At("new.dat")), "");
}

TEST_P(SystemContract, WriteFailsWithoutItsFolderOrOnAReadOnlyFile) {
  EXPECT_FALSE(Sys().WriteFile(At("absent\\new.dat"), "x"));
  EXPECT_FALSE(World().Exists(At("absent")));
  World().MakeFile(At("locked.dat"), "old", attr::kReadOnly);
  EXPECT_FALSE(Sys().WriteFile(At("locked.dat"), "new"));
  EXPECT_EQ(World().ContentOf(At("locked.dat")), "old");
}

TEST_P(SystemContract, ReplaceMovesAFileOntoAnother) {
  World().MakeFile(At("target.dat"), "old");
  World().MakeFile(At("target.dat.new"), "new");
  ASSERT_TRUE(Sys().ReplaceFile(At("target.dat.new"), At("target.dat")));
  EXPECT_EQ(World().ContentOf(At("target.dat")), "new");
  EXPECT_FALSE(World().Exists(At("target.dat.new")));

  // Onto a name that does not exist yet.
  World().MakeFile(At("fresh.new"), "fresh");
  ASSERT_TRUE(Sys().ReplaceFile(At("fresh.new"), At("fresh.dat")));
  EXPECT_EQ(World().ContentOf(At("fresh.dat")), "fresh");
}

TEST_P(SystemContract, ReplaceLeavesTheTargetWhenItFails) {
  World().MakeFile(At("target.dat"), "old");
  EXPECT_FALSE(Sys().ReplaceFile(At("missing.new"), At("target.dat")));
  EXPECT_EQ(World().ContentOf(At("target.dat")), "old");

  World().MakeFile(At("locked.dat"), "old", attr::kReadOnly);
  World().MakeFile(At("locked.new"), "new");
  EXPECT_FALSE(Sys().ReplaceFile(At("locked.new"), At("locked.dat")));
  EXPECT_EQ(World().ContentOf(At("locked.dat")), "old");
}

TEST_P(SystemContract, DeleteRemovesOnlyFilesItMay) {
  World().MakeFile(At("junk.tmp"), "x");
  EXPECT_TRUE(Sys().DeleteFile(At("junk.tmp")));
  EXPECT_FALSE(World().Exists(At("junk.tmp")));
  EXPECT_FALSE(Sys().DeleteFile(At("junk.tmp")));

  World().MakeFile(At("hidden.tmp"), "x", attr::kHidden | attr::kSystem);
  EXPECT_TRUE(Sys().DeleteFile(At("hidden.tmp")));

  World().MakeFile(At("readonly.tmp"), "x", attr::kReadOnly);
  EXPECT_FALSE(Sys().DeleteFile(At("readonly.tmp")));
  EXPECT_TRUE(World().Exists(At("readonly.tmp")));

  World().MakeFolder(At("folder.tmp"));
  EXPECT_FALSE(Sys().DeleteFile(At("folder.tmp")));
  EXPECT_TRUE(World().Exists(At("folder.tmp")));

  World().MakeFile(At("open.tmp"), "x");
  World().HoldOpen(At("open.tmp"));
  EXPECT_FALSE(Sys().DeleteFile(At("open.tmp")));
  EXPECT_TRUE(World().Exists(At("open.tmp")));

  // Deleting a link that looks like a file would delete what it leads to, under Wine.
  EXPECT_FALSE(Sys().DeleteFile(World().FixtureFileLink()));
  EXPECT_EQ(World().ContentOf(World().FixtureFileLink()), "keep");
}

TEST_P(SystemContract, RemoveFolderTakesOnlyEmptyFoldersAndLinks) {
  World().MakeFolder(At("empty"));
  World().MakeFile(At("full\\file.txt"), "x");
  EXPECT_TRUE(Sys().RemoveFolder(At("empty")));
  EXPECT_FALSE(World().Exists(At("empty")));
  EXPECT_FALSE(Sys().RemoveFolder(At("full")));
  EXPECT_TRUE(World().Exists(At("full\\file.txt")));
  EXPECT_FALSE(Sys().RemoveFolder(At("full\\file.txt")));
  EXPECT_FALSE(Sys().RemoveFolder(At("missing")));

  const std::string link = World().FixtureLink();
  EXPECT_EQ(Sys().RemoveFolder(link), World().LinksAreRemovable());
  EXPECT_EQ(World().ContentOf(link.substr(0, 2) == "T:" && !World().LinksAreRemovable()
                                  ? link + "\\keep.txt"
                                  : std::string("C:\\outside\\keep.txt")),
            "keep");
}

TEST_P(SystemContract, CreateFolderMakesOneFolderInOneThatExists) {
  EXPECT_TRUE(Sys().CreateFolder(At("made")));
  EXPECT_TRUE(Sys().Status(At("made"))->IsDirectory());
  EXPECT_TRUE(Sys().CreateFolder(At("made"))) << "a folder that is there counts as made";
  EXPECT_FALSE(Sys().CreateFolder(At("absent\\deeper")));
  EXPECT_FALSE(World().Exists(At("absent")));
  World().MakeFile(At("file.txt"), "x");
  EXPECT_FALSE(Sys().CreateFolder(At("file.txt")));
  EXPECT_EQ(World().ContentOf(At("file.txt")), "x");
}

// The bin takes files, never a folder (it may hold anything) nor a link (what it leads to is
// not ours), and never a path the shell cannot be given.
TEST_P(SystemContract, RecycleBinTakesFilesOnly) {
  using platform::Recycled;
  World().MakeFile(At("junk.tmp"), "junk");
  World().MakeFile(At("folder.tmp\\inner.txt"), "inner");
  EXPECT_EQ(Sys().MoveToRecycleBin(At("junk.tmp")), Recycled::kYes);
  EXPECT_FALSE(World().Exists(At("junk.tmp")));
  EXPECT_EQ(Sys().MoveToRecycleBin(At("folder.tmp")), Recycled::kRefused);
  EXPECT_TRUE(World().Exists(At("folder.tmp\\inner.txt")));
  EXPECT_EQ(Sys().MoveToRecycleBin(World().FixtureFileLink()), Recycled::kRefused);
  EXPECT_EQ(World().ContentOf(World().FixtureFileLink()), "keep");
  EXPECT_EQ(Sys().MoveToRecycleBin(At("missing.tmp")), Recycled::kMissing);
  // Wildcards would make the shell take more than the one file.
  World().MakeFile(At("a.tmp"), "a");
  EXPECT_EQ(Sys().MoveToRecycleBin(At("*.tmp")), Recycled::kRefused);
  EXPECT_TRUE(World().Exists(At("a.tmp")));
  // Past MAX_PATH: the shell would fail or crash on it.
  const std::string deep = At(std::string(150, 'd') + "\\" + std::string(150, 'e') + ".tmp");
  World().MakeFile(deep, "deep");
  EXPECT_EQ(Sys().MoveToRecycleBin(deep), Recycled::kPathTooLong);
  EXPECT_EQ(World().ContentOf(deep), "deep");
}

// Many files in one go, and exactly those that went are told: not one held open, one gone
// before, one the shell cannot be given, nor one after any of them; a file given twice goes once.
TEST_P(SystemContract, RecycleBinTakesABatchAndTellsWhatWent) {
  using platform::Recycled;
  World().MakeFile(At("a.tmp"), "a");
  World().MakeFile(At("busy.tmp"), "busy");
  World().MakeFile(At("folder.tmp\\inner.txt"), "inner");
  World().MakeFile(At("z.tmp"), "z");
  World().HoldOpen(At("busy.tmp"));
  const std::vector<std::string> paths = {At("a.tmp"),      At("busy.tmp"), At("missing.tmp"),
                                          At("folder.tmp"), At("*.tmp"),    At("z.tmp"),
                                          At("A.TMP")};
  std::vector<Recycled> results;
  Sys().MoveAllToRecycleBin(paths, results);
  EXPECT_EQ(results, (std::vector<Recycled>{Recycled::kYes, Recycled::kRefused, Recycled::kMissing,
                                            Recycled::kRefused, Recycled::kRefused, Recycled::kYes,
                                            Recycled::kMissing}));
  EXPECT_FALSE(World().Exists(At("a.tmp")));
  EXPECT_TRUE(World().Exists(At("busy.tmp")));
  EXPECT_TRUE(World().Exists(At("folder.tmp\\inner.txt")));
  EXPECT_FALSE(World().Exists(At("z.tmp")));
}

TEST_P(SystemContract, ListsEveryEntryWithAttributesAndSizes) {
  World().MakeFile(At("plain.txt"), "12345");
  World().MakeFile(At("hidden.tmp"), "", attr::kHidden);
  World().MakeFile(At("system.sys"), "ab", attr::kSystem | attr::kHidden);
  World().MakeFile(At("readonly.txt"), "abc", attr::kReadOnly);
  World().MakeFolder(At("sub"));
  World().MakeFile(At("sub\\inner.txt"), "inner");

  auto entries = Listing(Sys(), World().Root());
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries["plain.txt"].size, 5u);
  EXPECT_FALSE(entries["plain.txt"].IsDirectory());
  EXPECT_TRUE(entries["hidden.tmp"].attributes & attr::kHidden);
  EXPECT_EQ(entries["hidden.tmp"].size, 0u);
  EXPECT_TRUE(entries["system.sys"].attributes & attr::kSystem);
  EXPECT_TRUE(entries["readonly.txt"].attributes & attr::kReadOnly);
  EXPECT_TRUE(entries["sub"].IsDirectory());
  EXPECT_EQ(entries["sub"].size, 0u);
  EXPECT_FALSE(entries["sub"].IsReparsePoint());

  // A final backslash and another letter case name the same folder.
  std::string upper = World().Root() + "\\SUB\\";
  auto inner = Listing(Sys(), upper);
  EXPECT_EQ(inner.size(), 1u);
  EXPECT_EQ(inner.count("inner.txt"), 1u);
}

TEST_P(SystemContract, ListingEndsEarlyAndFailsOnWhatIsNoFolder) {
  for (const char* name : {"a", "b", "c", "d"})
    World().MakeFile(At(name), "x");
  int seen = 0;
  EXPECT_TRUE(Sys().ListFolder(World().Root(), [&](const DirEntry&) { return ++seen < 2; }));
  EXPECT_EQ(seen, 2);

  World().MakeFolder(At("empty"));
  EXPECT_TRUE(Listing(Sys(), At("empty")).empty());
  auto never = [](const DirEntry&) { return true; };
  EXPECT_FALSE(Sys().ListFolder(At("missing"), never));
  EXPECT_FALSE(Sys().ListFolder(At("a"), never));
}

TEST_P(SystemContract, LookUpIsExactAndGivesTheStoredName) {
  World().MakeFile(At("Mixed Case.TXT"), "1234567");
  std::optional<DirEntry> entry = Sys().LookUp(At("mixed case.txt"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, "Mixed Case.TXT");
  EXPECT_EQ(entry->size, 7u);

  World().MakeFolder(At("Folder"));
  entry = Sys().LookUp(At("FOLDER"));
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->IsDirectory());
  EXPECT_EQ(entry->name, "Folder");

  const std::string root = World().Root().substr(0, 2) + "\\";  // a drive root is no entry
  for (const std::string& none : {At("missing.txt"), At("*.TXT"), At("mixed case.tx?"), root}) {
    EXPECT_FALSE(Sys().LookUp(none)) << none;
    EXPECT_FALSE(Sys().Status(none)) << none;
  }
  // The cheap question answers alike, but for the name.
  for (const char* name : {"mixed case.txt", "FOLDER"}) {
    const std::optional<platform::FileStatus> status = Sys().Status(At(name));
    ASSERT_TRUE(status) << name;
    EXPECT_EQ(status->attributes, Sys().LookUp(At(name))->attributes) << name;
    EXPECT_EQ(status->size, Sys().LookUp(At(name))->size) << name;
  }
}

TEST_P(SystemContract, NamesInAnyScriptRoundTrip) {
  const std::vector<std::string> names = {
      "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC.txt",  // Greek
      "\xE6\x97\xA5\xE6\x9C\xAC.tmp",                                          // CJK
      "\xF0\x9F\x98\x80 smile.tmp",                                            // outside the BMP
      "\xC3\x84rger \xC3\x9F.txt"};
  for (const std::string& name : names)
    World().MakeFile(At(name), name);
  auto entries = Listing(Sys(), World().Root());
  for (const std::string& name : names) {
    ASSERT_EQ(entries.count(name), 1u) << name;
    std::optional<DirEntry> entry = Sys().LookUp(At(name));
    ASSERT_TRUE(entry) << name;
    EXPECT_EQ(entry->name, name);
    EXPECT_EQ(Sys().ReadFile(At(name), FileAccess::kRead).bytes, name);
    EXPECT_TRUE(Sys().DeleteFile(At(name)));
  }
}

TEST_P(SystemContract, PathsLongerThanMaxPathWork) {
  std::string folder = World().Root();
  while (folder.size() < 300) {
    folder += "\\a-rather-long-folder-name-0123456789";
    World().MakeFolder(folder);
  }
  const std::string file = folder + "\\deep.tmp";
  ASSERT_TRUE(Sys().WriteFile(file, "deep"));
  EXPECT_EQ(Sys().ReadFile(file, FileAccess::kRead).bytes, "deep");
  EXPECT_EQ(Listing(Sys(), folder).count("deep.tmp"), 1u);
  EXPECT_TRUE(Sys().LookUp(file));
  EXPECT_TRUE(Sys().DeleteFile(file));
  EXPECT_FALSE(World().Exists(file));
}

TEST_P(SystemContract, RelativePathsResolveAgainstTheCurrentDirectory) {
  World().MakeFolder(At("data\\lang"));
  World().MakeFile(At("data\\lang\\En.dat"), "English");
  World().SetCurrentDirectory(World().Root());
  EXPECT_EQ(Sys().ReadFile("data\\lang\\En.dat", FileAccess::kRead).bytes, "English");
  EXPECT_TRUE(Sys().WriteFile("data\\new.dat", "x"));
  EXPECT_EQ(World().ContentOf(At("data\\new.dat")), "x");
  EXPECT_EQ(Listing(Sys(), "data").size(), 2u);
}

TEST_P(SystemContract, LinksAreListedAsReparsePoints) {
  const std::string link = World().FixtureLink();
  const std::string parent = link.substr(0, link.rfind('\\'));
  auto entries = Listing(Sys(), parent);
  ASSERT_EQ(entries.count("link"), 1u);
  EXPECT_TRUE(entries["link"].IsReparsePoint());
  EXPECT_TRUE(entries["link"].IsDirectory());
  std::optional<DirEntry> entry = Sys().LookUp(link);
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->IsReparsePoint());
}

TEST_P(SystemContract, DriveTypes) {
  for (const auto& [drive, type] : World().DriveCases()) {
    EXPECT_EQ(Sys().GetDriveType(drive), type) << drive;
  }
}

TEST_P(SystemContract, DriveListHasEveryDriveWithItsType) {
  std::vector<platform::DriveInfo> drives = Sys().Drives();
  ASSERT_FALSE(drives.empty());
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end(),
                             [](const auto& a, const auto& b) { return a.letter < b.letter; }));
  for (const auto& [drive, type] : World().DriveCases()) {
    auto found = std::find_if(drives.begin(), drives.end(),
                              [&](const auto& d) { return d.letter == drive[0]; });
    if (type == platform::DriveType::kNoRootDir) {
      EXPECT_EQ(found, drives.end()) << drive;
    } else {
      ASSERT_NE(found, drives.end()) << drive;
      EXPECT_EQ(found->type, type) << drive;
    }
  }
}

// What the scan's progress is measured against: a drive that holds files uses at least their
// bytes; a drive that is not there tells nothing.
TEST_P(SystemContract, UsedSpaceCoversTheFilesOfADrive) {
  for (const auto& [drive, type] : World().DriveCases()) {
    const std::optional<std::uint64_t> used = Sys().UsedSpace(drive[0]);
    if (type == platform::DriveType::kNoRootDir) {
      EXPECT_FALSE(used) << drive;
    } else if (type == platform::DriveType::kFixed) {
      ASSERT_TRUE(used) << drive;
      EXPECT_GT(*used, 0u) << drive;
    }
  }
}

TEST_P(SystemContract, CurrentDirectoryFollowsTheProcess) {
  World().SetCurrentDirectory(World().Root());
  EXPECT_EQ(settings::LowerAsciiLetters(Sys().CurrentDirectory()),
            settings::LowerAsciiLetters(World().Root()));
}

TEST_P(SystemContract, NamedSemaphoreMarksTheFirstHolder) {
  const std::string name = "{dustorix-contract-" + World().Root().substr(3) + "}";
  bool existed = true;
  auto first = Sys().CreateNamedSemaphore(name, existed);
  ASSERT_TRUE(first);
  EXPECT_FALSE(existed);
  auto second = Sys().CreateNamedSemaphore(name, existed);
  EXPECT_TRUE(existed);
  second.reset();
  first.reset();
  auto again = Sys().CreateNamedSemaphore(name, existed);
  EXPECT_FALSE(existed);
}

TEST_P(SystemContract, RegisteredMessagesAreStablePerName) {
  const std::uint32_t a = Sys().RegisterWindowMessage("{8412F860-97EA-436A-8AB2-E4E6195990E2}");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(Sys().RegisterWindowMessage("{8412F860-97EA-436A-8AB2-E4E6195990E2}"), a);
  EXPECT_NE(Sys().RegisterWindowMessage("another name"), a);
}

TEST_P(SystemContract, AdministratorCheck) {
  EXPECT_EQ(Sys().IsAdministrator(), World().ExpectAdministrator());
}

TEST_P(SystemContract, ARunningProgramIsFoundByItsExactFileNameInAnyCase) {
  EXPECT_FALSE(Sys().ProcessRunning("msedge.exe"));
  World().StartProgram("msedge.exe");
  EXPECT_TRUE(Sys().ProcessRunning("msedge.exe"));
  EXPECT_TRUE(Sys().ProcessRunning("MSEdge.EXE"));
  for (const char* other : {"msedge", "edge.exe", "msedge.exe.exe", "chrome.exe", ""})
    EXPECT_FALSE(Sys().ProcessRunning(other)) << other;
  World().StopPrograms();
  EXPECT_FALSE(Sys().ProcessRunning("msedge.exe"));
}

INSTANTIATE_TEST_SUITE_P(Sim, SystemContract, ::testing::Values(WorldFactory(&MakeSimWorld)));

}  // namespace
}  // namespace testing_world
