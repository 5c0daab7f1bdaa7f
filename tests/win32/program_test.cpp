// The real dustorix.exe under Wine, driven from this process through its windows.
#include <gtest/gtest.h>

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
  EXPECT_EQ(folder.Read("data\\advancedoption.dat").size(), 16u);
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

}  // namespace
}  // namespace testing_program
