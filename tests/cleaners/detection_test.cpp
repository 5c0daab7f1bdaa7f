// When an entry applies, and the catalog of every rule file with the user's choice.
#include "cleaners/detection.h"
#include "cleaners/catalog.h"
#include "tests/cleaners/rules_harness.h"

namespace testing_cleaners {
namespace {

using platform::RegistryRoot;
using platform::sim::Op;

class DetectionTest : public RulesTest {
 protected:
  bool Applies(std::string_view keys) {
    const cleaners::Places places(sim);
    return cleaners::Detector(sim, places).Applies(Rule(keys));
  }
};

TEST_F(DetectionTest, AnyDetectKeyMakesTheEntryApplyAndNoneAtAllToo) {
  EXPECT_TRUE(Applies("FileKey1=%AppData%\\X|*\n"));
  EXPECT_FALSE(Applies("Detect=HKCU\\Software\\Chat\nDetectFile=%AppData%\\Chat\n"));
  sim.AddRegistryKey(RegistryRoot::kCurrentUser, "Software\\Chat");
  EXPECT_TRUE(Applies("Detect1=HKCU\\Software\\Other\nDetect2=HKCU\\software\\chat\n"));
  // A 32-bit program's key, and the other roots.
  sim.AddRegistryKey(RegistryRoot::kLocalMachine, "Software\\WOW6432Node\\Old App");
  EXPECT_TRUE(Applies("Detect=HKLM\\Software\\Old App\n"));
  sim.AddRegistryKey(RegistryRoot::kUsers, ".DEFAULT\\Software\\Tool");
  EXPECT_TRUE(Applies("Detect=HKU\\.DEFAULT\\Software\\Tool\n"));
  EXPECT_TRUE(Applies("SpecialDetect=DET_WINDOWS\n"));
  EXPECT_FALSE(Applies("SpecialDetect=DET_CHROME\n"));
  sim.AddRegistryKey(RegistryRoot::kCurrentUser, "Software\\Google\\Chrome");
  EXPECT_TRUE(Applies("SpecialDetect=DET_CHROME\n"));
}

TEST_F(DetectionTest, DetectFileTakesWildcardsInAnyPartAndBothProgramFiles) {
  File("C:\\Program Files (x86)\\Steam\\steam.exe");
  File(kLocal + "\\Google\\Chrome SxS\\User Data\\Local State");
  EXPECT_TRUE(Applies("DetectFile=%ProgramFiles%\\Steam\\steam.exe\n"));
  EXPECT_TRUE(Applies("DetectFile=%LocalAppData%\\Google\\Chrome*\\User Data\n"));
  EXPECT_TRUE(Applies("DetectFile=%LocalAppData%\\G*\\*\\*\\Local St?te\n"));
  EXPECT_FALSE(Applies("DetectFile=%LocalAppData%\\Google\\Chrome*\\Profile 1\n"));
  EXPECT_FALSE(Applies("DetectFile=%LocalAppData%\\Google\\*\\Local State\n"));
  EXPECT_FALSE(Applies("DetectFile=%Public%\\x\n"));
}

TEST_F(DetectionTest, DetectOsIsARangeThatMustHoldBesides) {
  EXPECT_TRUE(Applies("DetectOS=6.1|\n"));
  EXPECT_TRUE(Applies("DetectOS=10.0\n"));
  EXPECT_FALSE(Applies("DetectOS=|6.3\n"));
  EXPECT_FALSE(Applies("DetectOS=6.1|6.3\nSpecialDetect=DET_WINDOWS\n"));
  EXPECT_FALSE(Applies("DetectOS=10.0|\nDetect=HKCU\\Software\\Missing\n"));
  sim.SetWindowsVersion(platform::WindowsVersion{6, 2});
  EXPECT_TRUE(Applies("DetectOS=6.1|6.3\n"));
  EXPECT_FALSE(Applies("DetectOS=6.10|\n"));  // numbers compare as numbers: 6.10 is above 6.2
  sim.SetWindowsVersion(std::nullopt);
  EXPECT_FALSE(Applies("DetectOS=6.1|\n"));
}

TEST_F(RulesTest, TheCatalogReadsEveryRuleFileTheProjectsFirstAndTheChoiceByName) {
  sim.AddFile("C:\\Dustorix\\data\\cleaners\\a.INI", "[Chat]\nFileKey1=%AppData%\\A|*\n[Tool]\n");
  sim.AddFile("C:\\Dustorix\\data\\cleaners\\dustorix.ini",
              "[chat]\nDetect=HKCU\\Software\\Chat\n[Game]\n");
  sim.AddFile("C:\\Dustorix\\data\\cleaners\\b.ini", "x=1\n[Old]\nDetect=HKCU\\Software\\Old\n");
  sim.AddFile("C:\\Dustorix\\data\\cleaners\\notes.txt", "[Notes]\n");
  sim.AddFile("C:\\Dustorix\\data\\cleaners\\locked.ini", "[Locked]\n");
  faults.FailPath(Op::kReadFile, "C:\\Dustorix\\data\\cleaners\\locked.ini");
  const cleaners::Catalog catalog = cleaners::Catalog::Load(faults);
  std::vector<std::string> names;
  for (const cleaners::Entry& entry : catalog.Entries())
    names.push_back(entry.file + ":" + entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"dustorix.ini:chat", "dustorix.ini:Game", "a.INI:Tool",
                                             "b.ini:Old"}));
  ASSERT_EQ(catalog.Duplicates().size(), 1u);
  EXPECT_EQ(catalog.Duplicates()[0].file, "a.INI");
  EXPECT_EQ(catalog.Outside().size(), 1u);
  EXPECT_EQ(catalog.UnreadFiles(), std::vector<std::string>{"locked.ini"});
  EXPECT_EQ(catalog.Find("GAME"), &catalog.Entries()[1]);

  sim.AddRegistryKey(RegistryRoot::kCurrentUser, "Software\\Old");
  const cleaners::Places places(sim);
  cleaners::Detector detector(sim, places);
  std::vector<std::string> enabled;
  for (const cleaners::Entry* entry :
       catalog.Enabled({"old", "Chat", "Missing", "game", "Game"}, detector)) {
    enabled.push_back(entry->name);
  }
  EXPECT_EQ(enabled, (std::vector<std::string>{"Game", "Old"}));  // chat is not installed
}

}  // namespace
}  // namespace testing_cleaners
