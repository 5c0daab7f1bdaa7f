// Running entries on the sim: each rule of the semantics, the guards, a running program, the
// analysis and a stop.
#include "cleaners/detection.h"
#include "platform/dry_run_system.h"
#include "tests/cleaners/rules_harness.h"

namespace testing_cleaners {
namespace {

using cleaners::Issue;
using platform::RegistryRoot;
using platform::RegistryValue;
using platform::sim::Op;

TEST_F(RulesTest, NoFlagRecurseAndRemoveSelfReachAsDeepAsTheySay) {
  const std::string app = kLocal + "\\App";
  for (const char* top : {"\\None", "\\Rec", "\\Self"}) {
    File(app + top + "\\a.tmp", 10);
    File(app + top + "\\keep.txt");
    File(app + top + "\\sub\\b.tmp", 100);
    File(app + top + "\\sub\\deeper\\c.tmp", 1000);
  }
  sim.AddFolder(app + "\\Self\\empty\\inner");
  File(app + "\\Self\\ro\\r.tmp", 1, platform::attr::kReadOnly);
  File(app + "\\All\\sub\\x.tmp");
  File(kLocal + "\\Temp\\sub\\t.tmp");
  const cleaners::EntryOutcome outcome =
      Run(Rule("FileKey1=%LocalAppData%\\App\\None|*.tmp\n"
               "FileKey2=%LocalAppData%\\App\\Rec|*.tmp|RECURSE\n"
               "FileKey3=%LocalAppData%\\App\\Self|*.tmp|REMOVESELF\n"
               "FileKey4=%LocalAppData%\\App\\All|*|REMOVESELF\n"
               "FileKey5=%Temp%|*|REMOVESELF\n"));
  EXPECT_FALSE(sim.Exists(app + "\\None\\a.tmp"));
  EXPECT_TRUE(sim.Exists(app + "\\None\\sub\\b.tmp"));
  EXPECT_FALSE(sim.Exists(app + "\\Rec\\sub\\deeper\\c.tmp"));
  EXPECT_TRUE(sim.Exists(app + "\\Rec\\sub\\deeper"));  // RECURSE removes no folder
  EXPECT_FALSE(sim.Exists(app + "\\Self\\sub"));
  EXPECT_FALSE(sim.Exists(app + "\\Self\\empty"));
  EXPECT_TRUE(sim.Exists(app + "\\Self\\ro\\r.tmp"));
  EXPECT_TRUE(sim.Exists(app + "\\Self\\keep.txt"));
  EXPECT_FALSE(sim.Exists(app + "\\All"));     // emptied, so it goes itself
  EXPECT_EQ(sim.Dump(kLocal + "\\Temp"), "");  // a variable's own folder is emptied and stays
  EXPECT_TRUE(sim.Exists(kLocal + "\\Temp"));
  for (const char* top : {"\\None", "\\Rec", "\\Self"})
    EXPECT_TRUE(sim.Exists(app + top + "\\keep.txt"));
  EXPECT_EQ(outcome.files, 9);
  EXPECT_EQ(outcome.bytes, 10 + 2 * 1110 + 2);
  EXPECT_EQ(state.freedBytes, outcome.bytes);
  EXPECT_TRUE(outcome.refused.empty());
}

// A pattern is exact and matched on the long name only; `*.*` also takes a name without a dot.
// A folder named by two keys is listed once by each.
TEST_F(RulesTest, PatternsAreWindowsWildcardsOnLongNamesOneListingPerKey) {
  const std::string app = kRoaming + "\\App";
  for (const char* name : {"LOG", "x.log", "a.b.tmp", "document.tmp123", "README"})
    File(app + "\\" + name);
  sim.SetShortName(app + "\\document.tmp123", "DOCUME~1.TMP");
  sim.ResetCounters();
  Run(Rule("FileKey1=%AppData%\\App|LOG;*.tmp\nFileKey2=%AppData%\\App|x.lo?\n"));
  EXPECT_EQ(sim.Calls(Op::kListFolder), 2u);
  EXPECT_FALSE(sim.Exists(app + "\\LOG"));
  EXPECT_FALSE(sim.Exists(app + "\\a.b.tmp"));
  EXPECT_FALSE(sim.Exists(app + "\\x.log"));
  EXPECT_TRUE(sim.Exists(app + "\\document.tmp123"));
  EXPECT_TRUE(sim.Exists(app + "\\README"));
  Run(Rule("FileKey1=%AppData%\\App|*.*\n"));
  EXPECT_FALSE(sim.Exists(app + "\\README"));
}

// Wildcards in several parts; links neither entered nor removed wherever they are; read-only
// and system files stay, hidden ones go.
TEST_F(RulesTest, WildcardPartsFindEveryFolderButNoLink) {
  const std::string chat = kRoaming + "\\chat";
  File(chat + "\\Cache\\f", 1, platform::attr::kHidden);
  File(chat + "\\Code Cache\\js\\f");
  File(kRoaming + "\\chatptb\\GPUCache\\f");
  File(chat + "\\GPUCache\\sys", 1, platform::attr::kSystem);
  File(chat + "\\Local Storage\\leveldb\\f");
  File(chat + "\\settings.json");
  File("D:\\Elsewhere\\Cache\\f");
  File("D:\\Moved\\f");
  sim.AddFolderLink(kRoaming + "\\chatcanary", "D:\\Elsewhere");
  sim.AddFolderLink(chat + "\\Code Cache\\moved", "D:\\Moved");
  sim.AddFolderLink(chat + "\\LinkCache", "D:\\Moved");
  const cleaners::EntryOutcome outcome =
      Run(Rule("FileKey1=%AppData%\\chat*\\*Cache|*|REMOVESELF\n"));
  EXPECT_FALSE(sim.Exists(chat + "\\Cache"));
  EXPECT_FALSE(sim.Exists(chat + "\\Code Cache\\js"));
  EXPECT_TRUE(sim.Exists(chat + "\\Code Cache\\moved"));  // the link stays, so its folder does
  EXPECT_FALSE(sim.Exists(kRoaming + "\\chatptb\\GPUCache"));
  EXPECT_TRUE(sim.Exists(chat + "\\GPUCache\\sys"));
  EXPECT_TRUE(sim.Exists(chat + "\\Local Storage\\leveldb\\f"));
  EXPECT_TRUE(sim.Exists(chat + "\\settings.json"));
  EXPECT_TRUE(sim.Exists("D:\\Elsewhere\\Cache\\f"));
  EXPECT_TRUE(sim.Exists("D:\\Moved\\f"));
  EXPECT_EQ(outcome.files, 3);
}

TEST_F(RulesTest, ExclusionsSpareTheirFilesAndFolders) {
  const std::string ex = kRoaming + "\\Ex";
  for (const char* name : {"\\keep.dat", "\\sub\\keep.dat", "\\a\\x.cfg", "\\a\\deep\\y.cfg",
                           "\\x.cfg", "\\Saved\\any.bin", "\\b\\z.tmp"}) {
    File(ex + name);
  }
  sim.AddFolder(ex + "\\Saved\\empty");
  Run(
      Rule("FileKey1=%AppData%\\Ex|*|REMOVESELF\n"
           "ExcludeKey1=FILE|%AppData%\\Ex\\|keep.dat\n"
           "ExcludeKey2=PATH|%AppData%\\Ex\\*\\|*.cfg\n"
           "ExcludeKey3=PATH|%AppData%\\Ex\\Saved\\\n"));
  for (const char* kept :
       {"\\keep.dat", "\\a\\x.cfg", "\\a\\deep\\y.cfg", "\\Saved\\any.bin", "\\Saved\\empty"}) {
    EXPECT_TRUE(sim.Exists(ex + kept)) << kept;
  }
  for (const char* gone : {"\\sub", "\\x.cfg", "\\b"})
    EXPECT_FALSE(sim.Exists(ex + gone)) << gone;
}

// Steam's userdata rule: a pattern that matches nothing, so that only empty folders go.
TEST_F(RulesTest, RemoveEmptyFoldersOnlyTakesOnlyEmptyFolders) {
  const std::string userdata = "C:\\Program Files (x86)\\Steam\\userdata";
  sim.AddFolder(userdata + "\\123\\7\\empty");
  File(userdata + "\\123\\760\\remote\\save.dat");
  File(userdata + "\\123\\config\\localconfig.vdf");
  sim.AddFolder(userdata + "\\456");
  Run(Rule("FileKey1=%ProgramFiles%\\Steam\\userdata\\*\\*|RemoveEmptyFoldersOnly|REMOVESELF\n"));
  EXPECT_FALSE(sim.Exists(userdata + "\\123\\7"));
  EXPECT_TRUE(sim.Exists(userdata + "\\123\\760\\remote\\save.dat"));
  EXPECT_TRUE(sim.Exists(userdata + "\\123\\config\\localconfig.vdf"));
  EXPECT_TRUE(sim.Exists(userdata + "\\456"));
}

TEST_F(RulesTest, RegistryKeysAndValuesGoExceptWhatIsSparedOrProtected) {
  const RegistryRoot user = RegistryRoot::kCurrentUser;
  const RegistryValue x = RegistryValue::FromText("x");
  sim.SetRegistryValue(user, "Software\\App\\Recent\\Sub", "a", x);
  sim.SetRegistryValue(user, "Software\\App", "Last", x);
  sim.SetRegistryValue(user, "Software\\App", "Theme", x);
  sim.SetRegistryValue(user, "Software\\App\\Cache", "v", x);
  sim.SetRegistryValue(user, "Software\\App\\Cache\\Other", "v", x);
  sim.SetRegistryValue(user, "Software\\App\\Cache\\Spared\\Deep", "v", x);
  sim.SetRegistryValue(RegistryRoot::kLocalMachine, "Software\\WOW6432Node\\App\\History", "v", x);
  sim.SetRegistryValue(RegistryRoot::kLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\x", "v",
                       x);
  const cleaners::EntryOutcome outcome =
      Run(Rule("RegKey1=HKCU\\Software\\App\\Recent\n"
               "RegKey2=HKCU\\Software\\App|Last\n"
               "RegKey3=HKLM\\Software\\App\\History\n"
               "RegKey4=HKCU\\Software\\App\\Cache\n"
               "ExcludeKey1=REG|HKCU\\Software\\App\\Cache\\Spared\n"
               "RegKey5=HKCU\\Software\n"
               "RegKey6=HKCR\\.tmp\n"
               "RegKey7=HKLM\\SYSTEM\\CurrentControlSet\\Services\\x|v\n"
               "RegKey8=HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\n"));
  EXPECT_FALSE(sim.HasRegistryKey(user, "Software\\App\\Recent"));
  EXPECT_FALSE(sim.RegistryValueOf(user, "Software\\App", "Last"));
  EXPECT_TRUE(sim.RegistryValueOf(user, "Software\\App", "Theme"));
  EXPECT_FALSE(
      sim.HasRegistryKey(RegistryRoot::kLocalMachine, "Software\\WOW6432Node\\App\\History"));
  EXPECT_FALSE(sim.RegistryValueOf(user, "Software\\App\\Cache", "v"));
  EXPECT_FALSE(sim.HasRegistryKey(user, "Software\\App\\Cache\\Other"));
  EXPECT_TRUE(sim.HasRegistryKey(user, "Software\\App\\Cache\\Spared\\Deep"));
  EXPECT_TRUE(sim.RegistryValueOf(RegistryRoot::kLocalMachine,
                                  "SYSTEM\\CurrentControlSet\\Services\\x", "v"));
  EXPECT_EQ(outcome.registryItems, 5);  // Recent, Last, History, Cache's value and Other
  std::vector<std::string> refused;
  for (const cleaners::KeyNote& note : outcome.refused) {
    EXPECT_EQ(note.issue, Issue::kProtectedRegistryKey);
    refused.push_back(note.key);
  }
  EXPECT_EQ(refused, (std::vector<std::string>{"RegKey5", "RegKey6", "RegKey7", "RegKey8"}));
}

// The guards: nothing wide at a protected folder or what may stand for one, no climbing, and no
// place the run's guard refuses (one that is or holds a protected folder); each refusal listed
// with its key and reason.
TEST_F(RulesTest, GuardsRefuseKeysAndPlacesAndListThem) {
  for (const std::string& path : std::vector<std::string>{
           kProfile + "\\x.log", kLocal + "\\y.dat", kProfile + "\\Documents\\Sub\\z.tmp",
           "C:\\Windows\\w.log", "C:\\Users\\other\\o.tmp", kLocal + "\\Temp\\t.tmp"}) {
    File(path);
  }
  const cleaners::Entry entry = Rule(
      "FileKey1=%UserProfile%|*.log|RECURSE\n"
      "FileKey2=%LocalAppData%|*\n"
      "FileKey3=%UserProfile%\\Documents\\*|*.tmp|RECURSE\n"
      "FileKey4=%SystemDrive%\\Win*|*.log|RECURSE\n"
      "FileKey5=%WinDir%|*.log\n"
      "FileKey6=%AppData%\\..\\Local|*\n"
      "FileKey7=C:\\Users\\*|*.tmp|RECURSE\n"
      "FileKey8=%Temp%|*.tmp|RECURSE\n"
      "FileKey9=C:\\PROGRA~1|*.log|RECURSE\n"
      "FileKey10=C:\\Users\\tester.|x.log\n"
      "FileKey11=%UserProfile%\\AppData|x.log\n");
  sim.SetShortName("C:\\Program Files", "PROGRA~1");
  const std::string before = sim.Dump();
  const cleaners::EntryOutcome outcome = Run(entry);
  const std::vector<std::pair<std::string, Issue>> expected = {
      {"FileKey6", Issue::kDotSegment},      {"FileKey10", Issue::kDotSegment},
      {"FileKey1", Issue::kProtectedFolder}, {"FileKey2", Issue::kProtectedFolder},
      {"FileKey3", Issue::kProtectedFolder}, {"FileKey4", Issue::kProtectedFolder},
      {"FileKey5", Issue::kPlaceRefused},    {"FileKey7", Issue::kProtectedFolder},
      {"FileKey9", Issue::kProtectedFolder}, {"FileKey11", Issue::kPlaceRefused}};
  ASSERT_EQ(outcome.refused.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(outcome.refused[i].key, expected[i].first);
    EXPECT_EQ(outcome.refused[i].issue, expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(outcome.refused[6].detail, "C:\\Windows: is or holds the protected folder C:\\Windows");
  EXPECT_EQ(outcome.refused[9].detail,
            kProfile + "\\AppData: is or holds the protected folder " + kRoaming);
  EXPECT_EQ(outcome.refused[8].detail, "C:\\Program Files");  // the short name's folder
  EXPECT_EQ(outcome.files, 1);
  EXPECT_FALSE(sim.Exists(kLocal + "\\Temp\\t.tmp"));
  // What may be refused before running is refused by Refusals as well.
  EXPECT_EQ(cleaners::Refusals(entry, cleaners::Places(sim)).size(), expected.size() - 3);

  // An ExcludeKey that cannot be read leaves what it spares unknown: no key of the entry runs.
  File(kLocal + "\\Temp\\u.tmp");
  const cleaners::EntryOutcome unread =
      Run(Rule("FileKey1=%Temp%|*.tmp\nExcludeKey1=PATH|%Documents%\\x\\\n"));
  ASSERT_EQ(unread.refused.size(), 1u);
  EXPECT_EQ(unread.refused[0].issue, Issue::kExclusionUnread);
  EXPECT_TRUE(sim.Exists(kLocal + "\\Temp\\u.tmp"));
}

TEST_F(RulesTest, ARunningProgramLeavesItsEntryAlone) {
  File(kRoaming + "\\Chat\\Cache\\f");
  const cleaners::Entry entry =
      Rule("Running1=chat.exe\nRunning2=chat-helper.exe\nFileKey1=%AppData%\\Chat\\Cache|*\n");
  sim.SetRunning("Chat-Helper.EXE");
  const cleaners::EntryOutcome running = Run(entry);
  EXPECT_EQ(running.runningProgram, "chat-helper.exe");
  EXPECT_TRUE(sim.Exists(kRoaming + "\\Chat\\Cache\\f"));
  sim.SetRunning("Chat-Helper.EXE", false);
  EXPECT_EQ(Run(entry).files, 1);
}

// An analysis runs the entry against the dry run: the same finds, nothing changed, and a key it
// deleted is gone for the rest of the analysis, detection included.
TEST_F(RulesTest, AnAnalysisFindsWhatTheRunRemovesAndChangesNothing) {
  File(kRoaming + "\\App\\Cache\\a", 5);
  File(kRoaming + "\\App\\Cache\\sub\\b", 7);
  sim.SetRegistryValue(RegistryRoot::kCurrentUser, "Software\\App\\Recent", "v",
                       RegistryValue::FromText("x"));
  const cleaners::Entry entry = Rule(
      "Detect=HKCU\\Software\\App\\Recent\n"
      "FileKey1=%AppData%\\App\\Cache|*|REMOVESELF\nRegKey1=HKCU\\Software\\App\\Recent\n");
  const std::string before = sim.Dump();
  platform::DryRunSystem dry(faults);
  testing_clean::TestRun analysis(dry);
  const cleaners::Places places(dry);
  const cleaners::EntryOutcome planned = cleaners::RunEntry(entry, places, analysis.run);
  EXPECT_EQ(sim.Dump(), before);
  EXPECT_TRUE(sim.HasRegistryKey(RegistryRoot::kCurrentUser, "Software\\App\\Recent"));
  EXPECT_EQ(dry.Count(platform::DryRunSystem::Change::kRemoveFolder), 2u);
  EXPECT_FALSE(dry.RegistryKeyExists(RegistryRoot::kCurrentUser, "Software\\App\\Recent"));
  EXPECT_FALSE(cleaners::Detector(dry, places).Applies(entry));

  const cleaners::EntryOutcome done = Run(entry);
  EXPECT_EQ(done.files, planned.files);
  EXPECT_EQ(done.bytes, planned.bytes);
  EXPECT_EQ(done.registryItems, planned.registryItems);
  EXPECT_FALSE(sim.Exists(kRoaming + "\\App\\Cache"));
}

TEST_F(RulesTest, AStopEndsTheEntryAtItsNextFile) {
  for (int i = 0; i < 5; ++i)
    File(kRoaming + "\\App\\" + std::to_string(i) + ".tmp");
  int checks = 0;
  test.view.onProcessMessages = [&] {
    if (++checks == 2) state.stop = true;
  };
  const cleaners::EntryOutcome outcome =
      Run(Rule("FileKey1=%AppData%\\App|*.tmp|REMOVESELF\nRegKey1=HKCU\\Software\\App\n"));
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.files, 2);
  EXPECT_TRUE(sim.Exists(kRoaming + "\\App"));
}

}  // namespace
}  // namespace testing_cleaners
