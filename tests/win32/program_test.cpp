// The real dustorix.exe under Wine, driven from this process through its windows.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>

#include "app/main_form.h"
#include "platform/text_lines.h"
#include "settings/list_file.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"

namespace testing_program {
namespace {

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

FILETIME LastWrite(const ProgramFolder& folder, const std::string& relative) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ::GetFileAttributesExW(testing_win32::WidePath(folder.File(relative)).c_str(),
                         GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "no display";
  }
};

TEST_F(ProgramTest, OpensInTheChosenLanguageAndSwitchesFromTheMenu) {
  ProgramFolder folder;
  folder.Write("data\\lang\\whichlang.dat", std::string("\x02"
                                                        "De\x01",
                                                        4));
  const lang::LanguageTexts de = LanguageTextsOf(folder, "De");
  const lang::LanguageTexts en = LanguageTextsOf(folder, "En");
  using lang::Text;
  const Text shown[] = {Text::kDeleteGroup, Text::kAllDrives, Text::kDelete, Text::kOptions,
                        Text::kClose};
  Program program(folder);
  HWND main = program.WaitForWindow(L"TFrmMain");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), "Dustorix");
  std::vector<std::string> texts = ChildTexts(main);
  for (Text text : shown)
    EXPECT_TRUE(Contains(texts, de[text])) << de[text];

  ChooseMenu(main, app::kCommandEnglish);  // Bearbeiten > Sprache > English
  texts = ChildTexts(main);
  for (Text text : shown)
    EXPECT_TRUE(Contains(texts, en[text])) << en[text];

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_EQ(folder.Read("data\\lang\\whichlang.dat"), std::string("\x02"
                                                                  "En\x01",
                                                                  4));
  EXPECT_EQ(folder.Read("data\\advancedoption.dat").size(), 20u);
}

TEST_F(ProgramTest, FirstStartAsksForTheLanguage) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.Exists("data\\lang\\whichlang.dat"));
  Program program(folder);
  HWND dialog = program.WaitForWindow(L"TFrmlang");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Sprache/Language");
  HWND combo = ::FindWindowExW(dialog, nullptr, L"ComboBox", nullptr);
  HWND ok = ::FindWindowExW(dialog, nullptr, L"Button", nullptr);
  ASSERT_TRUE(combo && ok);
  ::SendMessageW(combo, CB_SETCURSEL, 2, 0);
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  ::SendMessageW(ok, BM_CLICK, 0, 0);

  HWND main = program.WaitForWindow(L"TFrmMain");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(Contains(ChildTexts(main), LanguageTextsOf(folder, "Gr")[lang::Text::kDeleteGroup]));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_EQ(folder.Read("data\\lang\\whichlang.dat"), std::string("\x02"
                                                                  "Gr\x01",
                                                                  4));
}

TEST_F(ProgramTest, ASecondStartActivatesTheFirstAndWritesNothing) {
  ProgramFolder folder;
  folder.Write("data\\lang\\whichlang.dat", std::string("\x02"
                                                        "En\x01",
                                                        4));
  Program first(folder);
  HWND main = first.WaitForWindow(L"TFrmMain");
  ASSERT_NE(main, nullptr);
  ::ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(main));
  const FILETIME before = LastWrite(folder, "data\\lang\\whichlang.dat");
  const std::string settingsBefore = folder.Read("data\\fileformat.dat");

  Program second(folder);
  EXPECT_EQ(second.WaitForExit(), 0);
  for (int waited = 0; waited < 3000 && ::IsIconic(main); waited += 20)
    ::Sleep(20);
  EXPECT_FALSE(::IsIconic(main));
  EXPECT_EQ(::GetForegroundWindow(), main);
  const FILETIME unchanged = LastWrite(folder, "data\\lang\\whichlang.dat");
  EXPECT_EQ(::CompareFileTime(&before, &unchanged), 0);
  EXPECT_EQ(folder.Read("data\\fileformat.dat"), settingsBefore);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(), 0);
  // The first instance saved when it closed.
  FILETIME after = LastWrite(folder, "data\\lang\\whichlang.dat");
  EXPECT_NE(::CompareFileTime(&before, &after), 0);
}

// The window that has the keyboard focus in the program's window thread.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

// A key pressed while `target` has the focus, as the keyboard sends it: through the program's
// message loop, so that its dialog keys work as for a real key.
void Press(HWND target, WPARAM key) {
  ::PostMessageW(target, WM_KEYDOWN, key, 1);
  ::PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

// Waits up to two seconds for what a posted key or click is to bring about.
bool Eventually(const std::function<bool()>& done) {
  for (int waited = 0; waited < 2000; waited += 10) {
    if (done()) return true;
    ::Sleep(10);
  }
  return done();
}

bool Checked(HWND button) {
  return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST_F(ProgramTest, EscapeLeavesTheLanguageDialogWithEnglish) {
  ProgramFolder folder;
  Program program(folder);
  HWND dialog = program.WaitForWindow(L"TFrmlang");
  ASSERT_NE(dialog, nullptr);
  ChooseComboLine(FindChild(dialog, L"ComboBox"), 1);  // Deutsch, but not taken
  Press(FindChild(dialog, L"ComboBox"), VK_ESCAPE);
  HWND main = program.WaitForWindow(L"TFrmMain");
  ASSERT_NE(main, nullptr);
  EXPECT_NE(FindChild(main, L"Button", LanguageTextsOf(folder, "En")[lang::Text::kDelete]),
            nullptr);
  // Kept at once.
  EXPECT_EQ(folder.Read("data\\lang\\whichlang.dat"), std::string("\x02"
                                                                  "En\x01",
                                                                  4));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST_F(ProgramTest, TheDriveChoiceIsAlwaysMadeAndTheKeyboardReachesIt) {
  ProgramFolder folder;
  folder.Write("data\\lang\\whichlang.dat", std::string("\x02"
                                                        "En\x01",
                                                        4));
  const lang::LanguageTexts en = LanguageTextsOf(folder, "En");
  Program program(folder);
  HWND main = program.WaitForWindow(L"TFrmMain");
  ASSERT_NE(main, nullptr);
  HWND drive = FindChild(main, L"Button", " ");
  HWND all = FindChild(main, L"Button", en[lang::Text::kAllDrives]);
  HWND box = FindChild(main, L"ComboBox");
  ASSERT_TRUE(drive && all && box);
  EXPECT_TRUE(Checked(drive)) << "the drive in the box, at first";
  EXPECT_FALSE(Checked(all));

  // Tab goes round every control and stops at the checked radio button.
  bool reached = false;
  for (int i = 0; i < 10 && !reached; ++i) {
    HWND before = FocusOf(main);
    Press(before ? before : main, VK_TAB);
    Eventually([&] { return FocusOf(main) != before; });
    reached = FocusOf(main) == drive;
  }
  ASSERT_TRUE(reached) << "Tab never reaches the radio buttons";
  Press(drive, VK_DOWN);
  EXPECT_TRUE(Eventually([&] { return Checked(all); }))
      << "the arrow keys move through the two and choose";
  EXPECT_EQ(FocusOf(main), all);
  EXPECT_FALSE(Checked(drive));

  // A drive chosen in the box is the drive the run takes.
  ChooseComboLine(box, 0);
  EXPECT_TRUE(Checked(drive));
  EXPECT_FALSE(Checked(all));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

// A folder of the test drive where the program is started from, as a shortcut's "Start in" or
// Win+R would: no data folder there.
std::string ElsewhereFolder() {
  static int counter = 0;
  const std::string folder =
      "T:\\elsewhere-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
  testing_win32::MakeFolder(folder);
  return folder;
}

TEST_F(ProgramTest, StartedFromAnotherFolderItShowsItsUsualWindow) {
  ProgramFolder folder;
  folder.Write("data\\lang\\whichlang.dat", std::string("\x02"
                                                        "En\x01",
                                                        4));
  const std::string elsewhere = ElsewhereFolder();
  const lang::LanguageTexts en = LanguageTextsOf(folder, "En");
  Program program(folder, elsewhere);
  HWND main = program.WaitForWindow(L"TFrmMain");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(program.WaitForWindow(L"TFrmlang", 0), nullptr) << "the choice was found";
  EXPECT_NE(FindChild(main, L"Button", en[lang::Text::kDelete]), nullptr);
  EXPECT_NE(FindChild(main, L"Button", en[lang::Text::kAnalyze]), nullptr);
  ChooseMenu(main, app::kCommandGerman);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_EQ(folder.Read("data\\lang\\whichlang.dat"), std::string("\x02"
                                                                  "De\x01",
                                                                  4));
  EXPECT_TRUE(testing_win32::Entries(elsewhere).empty()) << "nothing made where it was started";
}

TEST_F(ProgramTest, WithoutADataFolderAnywhereItSaysSoAndEnds) {
  ProgramFolder folder;
  testing_win32::RemoveTree(folder.File("data"));
  Program program(folder, ElsewhereFolder());
  HWND box = program.WaitForWindow(L"#32770");
  ASSERT_NE(box, nullptr);
  std::string text;
  for (const std::string& line : ChildTexts(box))
    text += line + "\n";
  EXPECT_NE(text.find("cannot find its folder"), std::string::npos) << text;
  EXPECT_NE(text.find("findet seinen Ordner"), std::string::npos) << text;
  EXPECT_EQ(program.WaitForWindow(L"TFrmMain", 0), nullptr);
  PostClick(FindChild(box, L"Button"));
  EXPECT_EQ(program.WaitForExit(), 1);
}

std::string AppDataFolder() {
  wchar_t path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
  return platform::win32::Narrow(path);
}

// scripts/wine-test puts the program and its data into T:\\installed, which the program's user
// may read but not write, as Program Files is for a user.
TEST_F(ProgramTest, AnInstalledCopyThatTheUserCannotWriteKeepsTheSettingsInAppData) {
  const ProgramFolder installed("T:\\installed");
  ASSERT_TRUE(installed.Exists("dustorix.exe"));
  ASSERT_FALSE(
      ::CreateDirectoryW(testing_win32::WidePath(installed.File("data\\probe")).c_str(), nullptr))
      << "the user may write in T:\\installed";
  const std::string copy = AppDataFolder() + "\\Dustorix";
  testing_win32::RemoveTree(copy);
  const std::string shipped = installed.Read("data\\fileformat.dat");
  for (const bool first : {true, false}) {
    Program program(installed, ElsewhereFolder());
    if (first) {
      HWND language = program.WaitForWindow(L"TFrmlang");
      ASSERT_NE(language, nullptr);
      ChooseComboLine(FindChild(language, L"ComboBox"), 1);  // Deutsch
      PostClick(FindChild(language, L"Button", "&OK"));
    }
    HWND main = program.WaitForWindow(L"TFrmMain");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(program.WaitForWindow(L"TFrmlang", 0), nullptr);
    EXPECT_NE(FindChild(main, L"Button", LanguageTextsOf(installed, "De")[lang::Text::kDelete]),
              nullptr);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
  }
  EXPECT_FALSE(installed.Exists("data\\lang\\whichlang.dat"));
  EXPECT_EQ(testing_win32::ReadAll(copy + "\\data\\lang\\whichlang.dat"), std::string("\x02"
                                                                                      "De\x01",
                                                                                      4));
  EXPECT_EQ(testing_win32::ReadAll(copy + "\\data\\fileformat.dat"), shipped);
  EXPECT_EQ(testing_win32::ReadAll(copy + "\\data\\lang\\De.dat"),
            installed.Read("data\\lang\\De.dat"));
  testing_win32::RemoveTree(copy);
}

}  // namespace
}  // namespace testing_program
