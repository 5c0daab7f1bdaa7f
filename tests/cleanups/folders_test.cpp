// Emptying and measuring folders, long path names and the plain folder clean-ups.
#include "tests/cleanups/cleanups_harness.h"

namespace testing_cleanups {
namespace {

namespace attr = platform::attr;
namespace csidl = platform::csidl;
using platform::sim::Op;

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

class FoldersTest : public CleanupsTest {
 protected:
  // Files at three depths, hidden and system ones among them, and empty folders: 150 bytes.
  void Tree(const std::string& top) {
    File(top + "\\a.tmp", 10);
    File(top + "\\hidden.tmp", 20, attr::kHidden);
    File(top + "\\system.dat", 30, attr::kSystem | attr::kHidden);
    File(top + "\\one\\b.tmp", 40);
    File(top + "\\one\\two\\c.tmp", 50);
    sim.AddFolder(top + "\\one\\two\\three");
    sim.AddFolder(top + "\\empty");
  }
};

TEST_F(FoldersTest, EmptyFolderDeletesTheWholeTreeAndCountsItsFiles) {
  for (const std::string path : {"C:\\Temp", "C:\\Temp\\"}) {
    Tree("C:\\Temp");
    state.freedBytes = 0;
    cleanups.EmptyFolder(path, false);
    EXPECT_EQ(sim.Dump("C:\\Temp"), "") << path;
    EXPECT_TRUE(sim.Exists("C:\\Temp")) << path;
    EXPECT_EQ(state.freedBytes, 150) << path;
  }
  Tree("C:\\Temp");
  cleanups.EmptyFolder("C:\\Temp", true);
  EXPECT_FALSE(sim.Exists("C:\\Temp"));
  EXPECT_TRUE(Reported().empty());  // its only trace is the total
  EXPECT_TRUE(sim.RecycleBinPaths().empty());

  // A folder that is not there: nothing else is touched.
  const std::string before = sim.Dump();
  cleanups.EmptyFolder("C:\\Missing", true);
  EXPECT_EQ(sim.Dump(), before);
}

TEST_F(FoldersTest, FilesThatCannotGoKeepEveryFolderAboveThem) {
  Tree("C:\\Temp");
  File("C:\\Temp\\one\\two\\locked.txt", 1000, attr::kReadOnly);
  File("C:\\Temp\\open\\busy.log", 2000);
  sim.SetInUse("C:\\Temp\\open\\busy.log");
  cleanups.EmptyFolder("C:\\Temp", true);
  EXPECT_EQ(sim.Dump("C:\\Temp"),
            "C:\\Temp\\one\\\n"
            "C:\\Temp\\one\\two\\\n"
            "C:\\Temp\\one\\two\\locked.txt (1000)\n"
            "C:\\Temp\\open\\\n"
            "C:\\Temp\\open\\busy.log (2000)\n");
  EXPECT_EQ(state.freedBytes, 150);
}

TEST_F(FoldersTest, AStopBeforeTheWalkLeavesEverything) {
  Tree("C:\\Temp");
  sim.AddFolder("C:\\Empty");
  state.stop = true;
  const std::string before = sim.Dump();
  cleanups.EmptyFolder("C:\\Temp", true);
  cleanups.EmptyFolder("C:\\Empty", true);
  EXPECT_EQ(sim.Dump(), before);
  EXPECT_EQ(state.freedBytes, 0);
}

TEST_F(FoldersTest, MessagesFollowEveryEntryAndAStopEndsTheWalkAtTheNext) {
  auto seed = [&] {
    File("C:\\T\\f1", 1);
    File("C:\\T\\f2", 2);
    File("C:\\T\\s\\g", 4);
  };
  // Both passes: f1, f2, s at the top, then s; inside s only g.
  seed();
  cleanups.EmptyFolder("C:\\T", true);
  EXPECT_EQ(processed, 5);
  EXPECT_FALSE(sim.Exists("C:\\T"));

  seed();
  processed = 0;
  state.freedBytes = 0;
  StopAt(1);
  cleanups.EmptyFolder("C:\\T", true);
  EXPECT_EQ(sim.Dump("C:\\T"), "C:\\T\\f2 (2)\nC:\\T\\s\\\nC:\\T\\s\\g (4)\n");
  EXPECT_EQ(state.freedBytes, 1);

  // Stopped inside s: the emptied s still goes, the top folder stays.
  state.stop = false;
  processed = 0;
  state.freedBytes = 0;
  seed();
  StopAt(4);
  cleanups.EmptyFolder("C:\\T", true);
  EXPECT_TRUE(sim.Exists("C:\\T"));
  EXPECT_EQ(sim.Dump("C:\\T"), "");
  EXPECT_EQ(state.freedBytes, 7);
}

TEST_F(FoldersTest, SizesOfSeveralGigabytesCountInFull) {
  sim.AddFileOfSize("C:\\Big\\disk.img", 5 * kGiB);
  sim.AddFileOfSize("C:\\Big\\sub\\dump.bin", 3 * kGiB);
  EXPECT_EQ(cleanups.FolderSize("C:\\Big", true), static_cast<std::int64_t>(8 * kGiB));
  cleanups.EmptyFolder("C:\\Big", false);
  EXPECT_EQ(state.freedBytes, static_cast<std::int64_t>(8 * kGiB));
}

TEST_F(FoldersTest, LinksInsideAreRemovedAsLinksAndTheirTargetsKept) {
  File("D:\\Keep\\keep.txt", 100);
  File("D:\\Keep\\sub\\deep.txt", 200);
  File("C:\\Temp\\junk.tmp", 1);
  sim.AddFolderLink("C:\\Temp\\link", "D:\\Keep");
  sim.AddFolderLink("C:\\Temp\\inner\\symlink", "D:\\Keep", platform::kReparseTagSymlink);
  cleanups.EmptyFolder("C:\\Temp", true);
  EXPECT_FALSE(sim.Exists("C:\\Temp"));
  EXPECT_EQ(sim.Dump("D:\\Keep"),
            "D:\\Keep\\keep.txt (100)\nD:\\Keep\\sub\\\nD:\\Keep\\sub\\deep.txt (200)\n");
  EXPECT_EQ(state.freedBytes, 1);
  // Nor is a link entered to measure a folder.
  sim.AddFolderLink("C:\\Measured\\link", "D:\\Keep");
  EXPECT_EQ(cleanups.FolderSize("C:\\Measured", true), 0);
}

TEST_F(FoldersTest, DriveRootsAndEmptyPathsAreNeverWalked) {
  File("C:\\keep.txt", 1);
  File("C:\\Windows\\win.ini", 2);
  File("C:\\Dustorix\\data\\fileformat.dat", 3);
  const std::string before = sim.Dump();
  sim.ResetCounters();
  for (const char* root :
       {"C:\\", "C:", "c:/", "C:\\Windows\\..", "C:\\Windows\\..\\", "C:\\.\\", "\\", "..\\..",
        "\\\\?\\C:\\", "\\\\.\\C:\\", "\\\\server\\share\\", "\\\\server\\share", "\\\\server\\",
        "\\\\?\\UNC\\server\\share\\", ""}) {
    cleanups.EmptyFolder(root, true);
  }
  EXPECT_EQ(cleanups.FolderSize("", true), 0);
  EXPECT_EQ(sim.Calls(Op::kListFolder), 0u);
  EXPECT_EQ(sim.Dump(), before);
}

TEST_F(FoldersTest, FolderSizeCountsDotFoldersWithoutEnteringThem) {
  File("C:\\F\\a.txt", 10);
  File("C:\\F\\.git\\objects\\pack", 100);
  File("C:\\F\\sub\\b.txt", 20);
  File("C:\\F\\sub\\.cache\\c.bin", 1000);
  EXPECT_EQ(cleanups.FolderSize("C:\\F", true), 30);
  EXPECT_EQ(cleanups.FolderSize("C:\\F\\", true), 30);
  EXPECT_EQ(cleanups.FolderSize("C:\\F", false), 10);
  EXPECT_EQ(cleanups.FolderSize("C:\\Missing", true), 0);
  EXPECT_TRUE(sim.Exists("C:\\F\\sub\\.cache\\c.bin"));  // it only measures
}

TEST_F(FoldersTest, LongPathNameGivesEachExistingComponentItsStoredName) {
  File("C:\\Program Files\\Common Files\\Shared.dll", 1);
  sim.SetShortName("C:\\Program Files", "PROGRA~1");
  sim.SetShortName("C:\\Program Files\\Common Files", "COMMON~1");
  EXPECT_EQ(cleanups.LongPathName("C:\\PROGRA~1\\"), "C:\\Program Files\\");
  EXPECT_EQ(cleanups.LongPathName("c:\\progra~1\\COMMON~1\\SHARED.DLL"),
            "c:\\Program Files\\Common Files\\Shared.dll");
  EXPECT_EQ(cleanups.LongPathName("C:\\PROGRA~1\\missing\\COMMON~1"),
            "C:\\Program Files\\missing\\COMMON~1");
  EXPECT_EQ(cleanups.LongPathName("C:\\PROGRA~1\\.\\x\\..\\COMMON~1"),
            "C:\\Program Files\\Common Files");
  EXPECT_EQ(cleanups.LongPathName("..\\progra~1"), "C:\\Program Files");  // from C:\Dustorix
  EXPECT_EQ(cleanups.LongPathName("C:\\PROGRA*"), "C:\\PROGRA*");         // never a search
  EXPECT_EQ(cleanups.LongPathName("C:"), "C:");
  EXPECT_EQ(cleanups.LongPathName("C:\\"), "C:\\");
  EXPECT_EQ(cleanups.LongPathName("Q:\\NOWHERE\\"), "Q:\\NOWHERE\\");
  EXPECT_EQ(cleanups.LongPathName(""), "");
}

TEST_F(FoldersTest, TemporaryFoldersEmptiesTheUsersAndForAdministratorsWindowsTemp) {
  File("C:\\Documents and Settings\\tester\\Temp\\~wrd0001.tmp", 10);
  File("C:\\Documents and Settings\\tester\\Temp\\setup\\x.cab", 20);
  sim.SetShortName("C:\\Documents and Settings", "DOCUME~1");
  sim.SetTempFolder("C:\\DOCUME~1\\tester\\Temp\\");
  File("C:\\Windows\\Temp\\old.log", 40);
  sim.SetWindowsFolder("C:\\Windows");

  cleanups::SpecialCleanups notAdmin(run, false);
  notAdmin.TemporaryFolders();
  EXPECT_EQ(sim.Dump("C:\\Documents and Settings\\tester\\Temp"), "");
  EXPECT_TRUE(sim.Exists("C:\\Documents and Settings\\tester\\Temp"));
  EXPECT_TRUE(sim.Exists("C:\\Windows\\Temp\\old.log"));
  EXPECT_EQ(state.freedBytes, 30);

  cleanups.TemporaryFolders();
  EXPECT_EQ(sim.Dump("C:\\Windows\\Temp"), "");
  EXPECT_TRUE(sim.Exists("C:\\Windows\\Temp"));
  EXPECT_EQ(state.freedBytes, 70);
}

TEST_F(FoldersTest, TemporaryFoldersNeverWipeADrive) {
  File("C:\\keep.txt", 1);
  File("C:\\Temp\\root-relative.txt", 2);  // what "\Temp" would name without a Windows folder
  File("D:\\data.txt", 3);
  const std::string before = sim.Dump();
  for (const char* temp : {"C:\\", "D:\\", "D:\\Work\\..\\", "C:"}) {
    sim.SetTempFolder(temp);
    sim.SetWindowsFolder("");
    cleanups.TemporaryFolders();
  }
  EXPECT_EQ(sim.Dump(), before);
}

// The shell deletes the shortcuts with its list: what it took is counted, what it left is not,
// and a folder that may not be emptied keeps its list too.
TEST_F(FoldersTest, RecentDocumentsCountWhatTheShellTook) {
  const std::string appData = "C:\\Users\\tester\\AppData\\Roaming";
  const std::string recent = appData + "\\Microsoft\\Windows\\Recent";
  sim.SetSpecialFolder(csidl::kAppData, appData);
  sim.SetSpecialFolder(csidl::kRecent, recent);
  File(recent + "\\letter.lnk", 300);
  File(recent + "\\held.lnk", 1000);
  sim.SetInUse(recent + "\\held.lnk");
  File(recent + "\\AutomaticDestinations\\y.automaticDestinations-ms", 30);
  sim.AddRecentDocument("C:\\letter.doc");
  cleanups.RecentDocuments();
  EXPECT_EQ(state.freedBytes, 300);
  EXPECT_EQ(state.removedFiles, 1);
  EXPECT_TRUE(sim.RecentDocuments().empty());
  EXPECT_TRUE(sim.Exists(recent + "\\held.lnk"));

  // Redirected to the documents: neither the folder nor the list is touched.
  const std::string documents = "C:\\Users\\tester\\Documents";
  sim.SetSpecialFolder(csidl::kDocuments, documents);
  sim.SetSpecialFolder(csidl::kRecent, documents);
  File(documents + "\\my shortcut.lnk", 5);
  sim.AddRecentDocument("C:\\letter.doc");
  cleanups.RecentDocuments();
  EXPECT_TRUE(sim.Exists(documents + "\\my shortcut.lnk"));
  EXPECT_FALSE(sim.RecentDocuments().empty());
  EXPECT_EQ(Reported().size(), 1u);

  // Without the folder the list is still cleared.
  sim.SetSpecialFolder(csidl::kRecent, "");
  cleanups.RecentDocuments();
  EXPECT_TRUE(sim.RecentDocuments().empty());
  EXPECT_EQ(state.freedBytes, 300);
}

TEST_F(FoldersTest, FavouritesAndHistoryAreEmptiedButKept) {
  File("C:\\Users\\tester\\Favorites\\Links\\site.url", 10);
  File("C:\\Users\\Public\\Favorites\\shared.url", 20);
  File("C:\\Users\\tester\\History\\History.IE5\\index.dat", 40);
  sim.SetSpecialFolder(csidl::kFavorites, "C:\\Users\\tester\\Favorites");
  sim.SetSpecialFolder(csidl::kCommonFavorites, "C:\\Users\\Public\\Favorites");
  sim.SetSpecialFolder(csidl::kHistory, "C:\\Users\\tester\\History");

  cleanups::SpecialCleanups notAdmin(run, false);
  notAdmin.Favourites();
  EXPECT_EQ(sim.Dump("C:\\Users\\tester\\Favorites"), "");
  EXPECT_TRUE(sim.Exists("C:\\Users\\Public\\Favorites\\shared.url"));
  cleanups.Favourites();
  EXPECT_EQ(sim.Dump("C:\\Users\\Public\\Favorites"), "");
  cleanups.History();
  EXPECT_EQ(sim.Dump("C:\\Users\\tester\\History"), "");
  for (const char* kept : {"C:\\Users\\tester\\Favorites", "C:\\Users\\Public\\Favorites",
                           "C:\\Users\\tester\\History"})
    EXPECT_TRUE(sim.Exists(kept)) << kept;
  EXPECT_EQ(state.freedBytes, 70);
}

// What a launcher's bare environment, a hand-set TEMP or a redirected shell folder makes of a
// place: each is left whole, with a line saying so, and nothing anywhere changes.
TEST_F(FoldersTest, PlacesThatLeadToTheUsersOrTheSystemsFoldersAreLeftWhole) {
  const std::string profile = "C:\\Users\\tester";
  const std::string local = profile + "\\AppData\\Local";
  sim.SetWindowsFolder("C:\\Windows");
  sim.SetProgramFolder("C:\\Dustorix");
  for (const auto& [folder, path] : {std::pair{csidl::kLocalAppData, local},
                                     std::pair{csidl::kDocuments, profile + "\\Documents"},
                                     std::pair{csidl::kDesktop, profile + "\\Desktop"}}) {
    sim.SetSpecialFolder(folder, path);
    File(path + "\\mine.txt", 1);
  }
  File(local + "\\Temp\\junk.tmp", 2);
  File("C:\\Windows\\notepad.exe", 3);
  File("C:\\Dustorix\\data\\fileformat.dat", 4);
  File("D:\\thesis.docx", 5);
  File("D:\\Other\\Favorites\\old.url", 6);
  sim.AddFolderLink(profile + "\\To D", "D:\\");
  sim.AddFolderLink(profile + "\\Elsewhere", "D:\\Other");
  const std::string before = sim.Dump();

  // TMP and TEMP unset: Windows names the profile, or without USERPROFILE the Windows folder.
  sim.SetEnvironmentVariable("TMP", std::nullopt);
  sim.SetEnvironmentVariable("TEMP", std::nullopt);
  for (const std::string& fallback : {profile + "\\", std::string("C:\\Windows\\")}) {
    sim.SetTempFolder(fallback);
    cleanups.TemporaryFolders();
  }
  sim.SetEnvironmentVariable("TEMP", profile);
  for (const std::string& temp :
       {profile + "\\", local + "\\Temp\\..\\", profile + "\\Documents\\", std::string(".\\"),
        std::string("C:\\Dustorix\\data\\"), profile + "\\To D\\", std::string("C:\\Users\\")}) {
    sim.SetTempFolder(temp);
    cleanups.TemporaryFolders();
  }
  // Favourites that are the documents or lie behind a link, history that is the desktop.
  for (const std::string& favourites :
       {profile + "\\Documents", profile + "\\Elsewhere\\Favorites"}) {
    sim.SetSpecialFolder(csidl::kFavorites, favourites);
    cleanups.Favourites();
  }
  sim.SetSpecialFolder(csidl::kHistory, profile + "\\Desktop");
  cleanups.History();

  EXPECT_EQ(sim.Dump(), before);
  EXPECT_EQ(state.freedBytes, 0);
  const std::vector<std::string> lines = Reported();
  EXPECT_EQ(lines.size(), 12u) << ::testing::PrintToString(lines);
  const std::string said = ::testing::PrintToString(lines);
  for (const lang::Text reason : {lang::Text::kReasonTempFallback, lang::Text::kReasonProtected,
                                  lang::Text::kReasonDriveRoot, lang::Text::kReasonOutside}) {
    const std::string text = test.texts[reason];
    EXPECT_NE(said.find(text.substr(0, text.find('%'))), std::string::npos) << text;
  }
}

TEST_F(FoldersTest, FoldersTheSystemLacksAreSkipped) {
  File("C:\\keep.txt", 1);
  File("C:\\Dustorix\\data\\exception.dat", 2);
  File("C:\\Opera\\Opera7\\profile\\cache4\\x", 3);  // where a missing APPDATA would point
  const std::string before = sim.Dump();
  sim.ResetCounters();
  cleanups.Favourites();
  cleanups.History();
  cleanups.TemporaryInternetFiles();
  cleanups.Cookies();
  EXPECT_EQ(sim.Calls(Op::kListFolder), 0u);
  EXPECT_EQ(sim.Dump(), before);
}

}  // namespace
}  // namespace testing_cleanups
