// The real options dialog of dustorix.exe driven through its controls: the input box adds what
// is acceptable, a message box refuses the rest or asks first, and OK saves the files.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_form.h"
#include "platform/text_lines.h"
#include "settings/list_file.h"
#include "tests/win32/program_driver.h"

namespace testing_program {
namespace {

using Lines = std::vector<std::string>;
using lang::Text;

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool IsChecked(HWND box) {
  return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WaitHidden(HWND window) {
  for (int waited = 0; waited < 5000 && ::IsWindowVisible(window); waited += 20)
    ::Sleep(20);
}

class OptionDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "no display";
    folder_.Write("data\\lang\\whichlang.dat", std::string("\x02"
                                                           "En\x01",
                                                           4));
    t_ = LanguageTextsOf(folder_, "En");
    program_ = std::make_unique<Program>(folder_);
    main_ = program_->WaitForWindow(L"TFrmMain");
    ASSERT_NE(main_, nullptr);
    // Posted: the menu command returns only when the dialog closes.
    ::PostMessageW(main_, WM_COMMAND, MAKEWPARAM(app::kCommandOptions, 0), 0);
    dialog_ = program_->WaitForWindow(L"TFrmoption");
    ASSERT_NE(dialog_, nullptr);
  }

  // Presses the n-th "Add" button (0: patterns, 1: exceptions), types the text into the input
  // box and presses its OK; the refusal's text when a message box answers, "" otherwise.
  std::string Add(int which, const std::string& text) {
    ::PostMessageW(FindChild(dialog_, L"Button", t_[Text::kAdd], which), BM_CLICK, 0, 0);
    HWND input = program_->WaitForWindow(L"TFrmInputBox");
    EXPECT_NE(input, nullptr);
    if (!input) return "no input box";
    EXPECT_EQ(WindowText(input),
              t_[which == 0 ? Text::kNewPatternCaption : Text::kNewExceptionCaption]);
    EXPECT_NE(FindChild(input, L"Static",
                        t_[which == 0 ? Text::kNewPatternPrompt : Text::kNewExceptionPrompt]),
              nullptr);
    TypeText(FindChild(input, L"Edit"), text);
    ::PostMessageW(FindChild(input, L"Button", t_[Text::kOk]), BM_CLICK, 0, 0);
    WaitHidden(input);
    HWND refusal = program_->WaitForWindow(L"#32770", 1000);
    if (!refusal) return {};
    EXPECT_EQ(WindowText(refusal), t_[Text::kInvalidEntry]);
    const std::vector<std::string> texts = ChildTexts(refusal);
    const bool explained =
        Contains(texts, t_[which == 0 ? Text::kBadPattern : Text::kBadException]);
    ::PostMessageW(FindChild(refusal, L"Button"), BM_CLICK, 0, 0);
    WaitHidden(refusal);
    return explained ? t_[which == 0 ? Text::kBadPattern : Text::kBadException]
                     : "a message box without its text";
  }

  Lines Patterns() const { return ListBoxLines(FindChild(dialog_, L"ListBox")); }
  Lines Exceptions() const { return ListBoxLines(FindChild(dialog_, L"ListBox", {}, 1)); }

  ProgramFolder folder_;
  lang::LanguageTexts t_;
  std::unique_ptr<Program> program_;
  HWND main_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST_F(OptionDialogTest, AddsThroughTheInputBoxRefusesProtectedTypesAndSavesOnClosing) {
  EXPECT_EQ(WindowText(dialog_), lang::WithoutAccessKey(t_[Text::kOptions]));
  EXPECT_TRUE(Contains(Patterns(), "*.tmp"));
  EXPECT_TRUE(IsChecked(FindChild(dialog_, L"Button", t_[Text::kReviewFirstCaption])))
      << "review mode, as shipped";

  EXPECT_EQ(Add(0, "*.old"), "");
  EXPECT_TRUE(Contains(Patterns(), "*.old"));
  EXPECT_EQ(Add(0, "*.EXE"), t_[Text::kBadPattern]);
  EXPECT_EQ(Add(0, "setup*.dll"), t_[Text::kBadPattern]);
  EXPECT_EQ(Add(0, "C:\\x.tmp"), t_[Text::kBadPattern]);
  EXPECT_FALSE(Contains(Patterns(), "*.EXE"));
  EXPECT_EQ(Add(1, "keepme.tmp"), "");
  EXPECT_EQ(Add(1, "noext."), t_[Text::kBadException]);
  EXPECT_TRUE(Contains(Exceptions(), "keepme.tmp"));
  // An input box left with Cancel adds nothing and asks nothing.
  ::PostMessageW(FindChild(dialog_, L"Button", t_[Text::kAdd]), BM_CLICK, 0, 0);
  HWND input = program_->WaitForWindow(L"TFrmInputBox");
  ASSERT_NE(input, nullptr);
  TypeText(FindChild(input, L"Edit"), "*.never");
  ::PostMessageW(FindChild(input, L"Button", t_[Text::kCancel]), BM_CLICK, 0, 0);
  WaitHidden(input);
  EXPECT_EQ(program_->WaitForWindow(L"#32770", 300), nullptr);
  EXPECT_FALSE(Contains(Patterns(), "*.never"));

  Click(FindChild(dialog_, L"Button", t_[Text::kZeroByteFilesCaption]));  // zero-byte files on
  // The ages: the temporary files of a week kept, downloads of 60 days gone, the bin by age.
  ChooseComboLine(FindChild(dialog_, L"ComboBox"), 2);
  ChooseComboLine(FindChild(dialog_, L"ComboBox", {}, 1), 3);
  ChooseComboLine(FindChild(dialog_, L"ComboBox", {}, 2), 2);  // the bin's items of 14 days
  ::PostMessageW(FindChild(dialog_, L"Button", t_[Text::kOk]), BM_CLICK, 0, 0);
  WaitHidden(dialog_);
  EXPECT_FALSE(::IsWindowVisible(dialog_));
  // Written at once: a crash from now on loses nothing the user confirmed.
  bool written = false;
  for (int waited = 0; waited < 3000 && !written; waited += 20) {
    written = Contains(platform::SplitTextLines(folder_.Read("data\\fileformat.dat")), "*.old");
    if (!written) ::Sleep(20);
  }
  EXPECT_TRUE(written);

  ::PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(program_->WaitForExit(), 0);
  const Lines patterns = platform::SplitTextLines(folder_.Read("data\\fileformat.dat"));
  EXPECT_TRUE(Contains(patterns, "*.old"));
  EXPECT_TRUE(Contains(patterns, "*.tmp"));
  EXPECT_FALSE(Contains(patterns, "*.EXE"));
  EXPECT_FALSE(Contains(patterns, "*.never"));
  EXPECT_TRUE(
      Contains(platform::SplitTextLines(folder_.Read("data\\exception.dat")), "keepme.tmp"));
  const std::string switches = folder_.Read("data\\advancedoption.dat");
  ASSERT_EQ(switches.size(), 20u);
  EXPECT_EQ(switches[7], '\x01') << "zero-byte files";
  EXPECT_EQ(switches[13], '\x01') << "review mode";
  EXPECT_EQ(switches[19], '\x01') << "old downloads";
  EXPECT_EQ(folder_.Read("data\\agerules.dat"),
            "TempKeepHours=168\r\nDownloadsDays=60\r\nRecycleBinDays=14\r\n");
  EXPECT_FALSE(folder_.Exists("data\\fileformat.dat.new"));
}

TEST_F(OptionDialogTest, CancelKeepsTheSavedFilesAsTheyWere) {
  const std::string before = folder_.Read("data\\fileformat.dat");
  EXPECT_EQ(Add(0, "*.gone"), "");
  ::PostMessageW(FindChild(dialog_, L"Button", t_[Text::kDiscard]), BM_CLICK, 0, 0);
  WaitHidden(dialog_);
  ::PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(program_->WaitForExit(), 0);
  EXPECT_EQ(folder_.Read("data\\fileformat.dat"), before);
}

// Answers the question the program asks now with the button `answer` (IDYES, IDNO); its text.
std::string Answer(const Program& program, int answer) {
  HWND box = program.WaitForWindow(L"#32770");
  if (!box) return "no question";
  std::string text;
  for (const std::string& line : ChildTexts(box))
    text += line;
  ::PostMessageW(::GetDlgItem(box, answer), BM_CLICK, 0, 0);
  WaitHidden(box);
  return text;
}

TEST_F(OptionDialogTest, StandardAndAPatternThatTakesDocumentsAskFirst) {
  const Lines patterns = Patterns();
  Click(FindChild(dialog_, L"Button", t_[Text::kZeroByteFilesCaption]));
  ::PostMessageW(FindChild(dialog_, L"Button", t_[Text::kStandard]), BM_CLICK, 0, 0);
  EXPECT_NE(Answer(*program_, IDNO).find(t_[Text::kStandardQuestion]), std::string::npos);
  EXPECT_EQ(Patterns(), patterns);
  EXPECT_TRUE(IsChecked(FindChild(dialog_, L"Button", t_[Text::kZeroByteFilesCaption])))
      << "No changes nothing";
  ::PostMessageW(FindChild(dialog_, L"Button", t_[Text::kStandard]), BM_CLICK, 0, 0);
  Answer(*program_, IDYES);
  EXPECT_FALSE(IsChecked(FindChild(dialog_, L"Button", t_[Text::kZeroByteFilesCaption])));

  ::PostMessageW(FindChild(dialog_, L"Button", t_[Text::kAdd]), BM_CLICK, 0, 0);
  HWND input = program_->WaitForWindow(L"TFrmInputBox");
  ASSERT_NE(input, nullptr);
  TypeText(FindChild(input, L"Edit"), "*.docx");
  ::PostMessageW(FindChild(input, L"Button", t_[Text::kOk]), BM_CLICK, 0, 0);
  EXPECT_NE(Answer(*program_, IDNO).find("*.docx"), std::string::npos);
  EXPECT_FALSE(Contains(Patterns(), "*.docx"));
  ::PostMessageW(FindChild(dialog_, L"Button", t_[Text::kDiscard]), BM_CLICK, 0, 0);
  WaitHidden(dialog_);
  ::PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(program_->WaitForExit(), 0);
}

}  // namespace
}  // namespace testing_program
