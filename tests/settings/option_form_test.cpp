#include "settings/option_form.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "platform/sim/sim_ui.h"
#include "settings/inputbox_form.h"
#include "settings/patterns.h"
#include "tests/app/app_harness.h"

namespace settings {
namespace {

using Lines = std::vector<std::string>;
using Script = std::function<void(TFrmoption& dialog)>;
using lang::Text;
constexpr int kChar = platform::sim::SimUi::kCharWidth;

// What the test's table holds for a text: "T" and its place.
std::string T(Text text) {
  return "T" + std::to_string(static_cast<int>(text));
}

// The options dialog and the input box on the sim, each text of the table T(text).
class OptionFormTest : public ::testing::Test {
 protected:
  OptionFormTest() {
    for (int i = 0; i < lang::kLanguageTextCount; ++i)
      texts[static_cast<Text>(i)] = T(static_cast<Text>(i));
    sim.AddDrive('C', platform::DriveType::kFixed);
    sim.AddFolder("C:\\app\\data\\standard");
    sim.SetCurrentDirectory("C:\\app");
    FrmInputBox = &input;
    dialog.UseSystem(sim);
    target.ProtectedPatterns = BuildProtectedPatterns();
  }
  ~OptionFormTest() override { FrmInputBox = nullptr; }

  // Opens the dialog on `target`; `script` is what the user does while it is shown.
  void Open(Script script, bool isAdministrator = true) {
    ui.QueueModal([script](ui::Form& form) { script(static_cast<TFrmoption&>(form)); },
                  "TFrmoption");
    dialog.Open(target, isAdministrator, 9);
    EXPECT_EQ(ui.PendingScripts(), 0u) << "an input box that was queued did not show";
  }

  // The next input box: the user types `text` and presses OK.
  void Answer(std::string text) {
    ui.QueueModal(
        [text](ui::Form& form) {
          auto& box = static_cast<TFrmInputBox&>(form);
          box.Edinput.TextTyped(text);
          box.BtnOK.Click();
        },
        "TFrmInputBox");
  }

  Switches Checked() const {
    Switches states{};
    for (size_t i = 0; i < dialog.CheckBoxes.size(); ++i)
      states[i] = dialog.CheckBoxes[i]->Checked();
    states[kDownloads] = dialog.DCBdownloads.ItemIndex() > 0;  // "never" is first
    return states;
  }

  platform::sim::SimSystem sim;
  platform::sim::SimUi ui;
  ui::Application app{ui};
  lang::LanguageTexts texts;
  TFrmInputBox input{app};
  TFrmoption dialog{app, texts};
  Settings target;
};

Lines Items(const ui::ListBox& list) {
  Lines items;
  for (int i = 0; i < list.Count(); ++i)
    items.push_back(list.Item(i));
  return items;
}

Lines SelectedItems(const ui::ListBox& list) {
  Lines items;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Selected(i)) items.push_back(list.Item(i));
  }
  return items;
}

Switches SwitchesOn(std::initializer_list<int> on) {
  Switches switches{};
  for (int i : on)
    switches[static_cast<size_t>(i)] = true;
  return switches;
}

TEST_F(OptionFormTest, OkStoresTheListsInListOrderAndRebuildsTheLowerCasedExceptions) {
  target.FileEndingList = {"~*.tmp", "*.TMP", "*.bak", " *.old"};
  target.ExceptionList = {"THUMBS.DB", "\xC3\x84RGER.TXT", "desktop.ini"};
  target.ExceptionListLower = {"thumbs.db", "\xC3\x84rger.txt", "desktop.ini"};
  target.AdvancedOptions = SwitchesOn({kTempFolders, kZeroByteFiles, kReviewFirst, kShaderCaches});
  target.keepOnDisk = {true, true, true, true};
  Open([&](TFrmoption& d) {
    EXPECT_EQ(Items(d.LBfileend), (Lines{" *.old", "*.bak", "*.TMP", "~*.tmp"}));
    // Each add widens the range to the line plus 10 once it is more than 10 wider.
    EXPECT_EQ(d.LBfileend.HorizontalExtent(), 6 * kChar + 10);
    EXPECT_EQ(Checked(), target.AdvancedOptions);
    Answer("a.b");
    d.Btnaddfileend.Click();
    Answer("Zz.txt");
    d.Btnaddexception.Click();
    d.CBtemp.Click();
    d.CBerrorreport.Click();
    d.BBtnok.Click();
  });
  EXPECT_EQ(target.FileEndingList, (Lines{" *.old", "*.bak", "*.TMP", "a.b", "~*.tmp"}));
  EXPECT_EQ(target.ExceptionList,
            (Lines{"desktop.ini", "THUMBS.DB", "Zz.txt", "\xC3\x84RGER.TXT"}));
  EXPECT_EQ(target.ExceptionListLower,
            (Lines{"desktop.ini", "thumbs.db", "zz.txt", "\xC3\x84rger.txt"}));
  EXPECT_EQ(target.AdvancedOptions,
            SwitchesOn({kZeroByteFiles, kReviewFirst, kErrorReports, kShaderCaches}));
  // Confirmed lists and switches are saved even if their files could not be read at start.
  EXPECT_EQ(target.keepOnDisk,
            (std::array<bool, kSettingsFileCount>{false, false, false, true, false}));
  EXPECT_TRUE(ui.MessageBoxes().empty());
  EXPECT_EQ(dialog.LBfileend.Count(), 0);
  EXPECT_EQ(dialog.LBexception.Count(), 0);
}

TEST_F(OptionFormTest, EveryOtherWayOfLeavingKeepsTheSettingsAndEmptiesTheLists) {
  target.FileEndingList = {"*.tmp"};
  target.ExceptionList = {"a.txt"};
  target.ExceptionListLower = {"a.txt"};
  target.keepOnDisk = {true, true, true, true};
  const Settings before = target;
  const std::vector<Script> leave = {
      [](TFrmoption& d) { d.BBtnabort.Click(); }, [](TFrmoption& d) { d.Close(); },
      [](TFrmoption& d) { d.KeyDown(d.LBexception, ui::kKeyEscape); },
      [](TFrmoption&) {},  // the user closes the window by its frame
  };
  for (const Script& how : leave) {
    Open([&](TFrmoption& d) {
      Answer("*.bak");
      d.Btnaddfileend.Click();
      d.LBexception.UserSelected(0, true);
      d.Btndeleteexception.Click();
      d.CBquestion.Click();
      how(d);
    });
    EXPECT_EQ(target.FileEndingList, before.FileEndingList);
    EXPECT_EQ(target.ExceptionList, before.ExceptionList);
    EXPECT_EQ(target.AdvancedOptions, before.AdvancedOptions);
    EXPECT_EQ(target.keepOnDisk, before.keepOnDisk);
    EXPECT_EQ(dialog.LBfileend.Count(), 0);
    EXPECT_EQ(dialog.LBexception.Count(), 0);
    EXPECT_EQ(dialog.LBfileend.HorizontalExtent(), 0);
  }
}

TEST_F(OptionFormTest, RefusedPatternsLeaveTheListAndShowTheMessage) {
  const Lines refused = {// The protected patterns, in any letter case.
                         "*.exe", "*.EXE", "*.Dll", "*.*", "*.cpl", "*.DAT",
                         // Patterns that still take files of a protected type.
                         "*.e*", "*.dl?", "*.?ll", "*.e?e", "x.*", "setup*.exe", "*.exe ", "*.ini.",
                         "a*.b*.sys", "*.lnk", "*.ps1", "*.msi",
                         // Patterns that take names without an extension, or tools' dot-files.
                         "*..", "*...", "*.  .", "?*..", "READ*.", "*.bashrc", "*.env",
                         // No dot inside.
                         "*", "tmp", ".tmp", "tmp.", "..",
                         // Folder separators would reach outside the folder being scanned.
                         "C:*.tmp", "..\\*.tmp", "sub\\a.tmp", "sub/a.tmp"};
  target.FileEndingList = {"*.tmp"};
  Open([&](TFrmoption& d) {
    for (const std::string& text : refused) {
      Answer(text);
      d.Btnaddfileend.Click();
      EXPECT_EQ(Items(d.LBfileend), Lines{"*.tmp"}) << text;
    }
  });
  ASSERT_EQ(ui.MessageBoxes().size(), refused.size());
  for (const auto& box : ui.MessageBoxes()) {
    EXPECT_EQ(box.text, T(Text::kBadPattern));
    EXPECT_EQ(box.caption, T(Text::kInvalidEntry));
    EXPECT_EQ(box.style, 0x30u);
    EXPECT_EQ(box.languageId, 9);
    EXPECT_EQ(box.ownerName, "TFrmoption");
  }
}

TEST_F(OptionFormTest, AcceptedPatternsAreKeptAsTypedAndDuplicatesAllowed) {
  const Lines accepted = {"*.tmp", "*.tmp",  "a.b",    "~*.tmp", "*.~*",
                          "*.$$$", " *.old", "*.exe_", "*.gid  "};
  Open([&](TFrmoption& d) {
    for (const std::string& text : accepted) {
      Answer(text);
      d.Btnaddfileend.Click();
    }
    // Kept as typed, but for the blanks at the end, which no file name has.
    EXPECT_EQ(Items(d.LBfileend), (Lines{" *.old", "*.$$$", "*.exe_", "*.gid", "*.tmp", "*.tmp",
                                         "*.~*", "a.b", "~*.tmp"}));
    d.BBtnok.Click();
  });
  EXPECT_TRUE(ui.MessageBoxes().empty());
  EXPECT_EQ(target.FileEndingList.size(), accepted.size());
}

TEST_F(OptionFormTest, ExceptionsAreNamesPatternsOrWholeFoldersWithTheirDrive) {
  const Lines refused = {"tmp",     "tmp.",    "sub\\a.txt",      "a/b.txt",
                         "c:a.txt", "Games\\", "D:\\Games\\*.sav"};
  const Lines accepted = {".gitkeep", "desktop.ini",  "THUMBS.DB",        "*.tmp",
                          "*.exe",    "a.b",          "*.sav.tmp",        "D:\\Games\\",
                          "d:/games", "C:\\boot.ini", "\\\\nas\\share\\", "R:\\"};
  Open([&](TFrmoption& d) {
    for (const std::string& text : refused) {
      Answer(text);
      d.Btnaddexception.Click();
    }
    EXPECT_EQ(d.LBexception.Count(), 0);
    for (const std::string& text : accepted) {
      Answer(text);
      d.Btnaddexception.Click();
    }
    EXPECT_EQ(d.LBexception.Count(), static_cast<int>(accepted.size()));
    // Exceptions go to their own list only.
    EXPECT_EQ(d.LBfileend.Count(), 0);
  });
  ASSERT_EQ(ui.MessageBoxes().size(), refused.size());
  for (const auto& box : ui.MessageBoxes()) {
    EXPECT_EQ(box.text, T(Text::kBadException));
    EXPECT_EQ(box.caption, T(Text::kInvalidEntry));
    EXPECT_EQ(box.style, 0x30u);
  }
}

TEST_F(OptionFormTest, APatternThatTakesDocumentsIsAddedOnlyWhenTheUserSaysYes) {
  int answer = 7;  // IDNO
  ui.answerMessageBox = [&answer](const platform::sim::SimUi::MessageBoxCall&) { return answer; };
  Open([&](TFrmoption& d) {
    for (const std::string text : {"*.docx", "*.PDF", "*.jp*", "report*.xlsx"}) {
      Answer(text);
      d.Btnaddfileend.Click();
    }
    EXPECT_EQ(d.LBfileend.Count(), 0);
    answer = 6;  // IDYES
    Answer("*.docx");
    d.Btnaddfileend.Click();
    Answer("*.tmp");  // takes no document: no question
    d.Btnaddfileend.Click();
    EXPECT_EQ(Items(d.LBfileend), (Lines{"*.docx", "*.tmp"}));
  });
  ASSERT_EQ(ui.MessageBoxes().size(), 5u);
  for (const auto& box : ui.MessageBoxes()) {
    EXPECT_EQ(box.text, T(Text::kDocumentPatternQuestion));
    EXPECT_EQ(box.caption, T(Text::kNewPatternCaption));
    EXPECT_EQ(box.style, 0x134u) << "Yes and No, No the default";
  }
  EXPECT_EQ(DocumentTakenBy("report*.xlsx"), "reportx.xlsx");
  EXPECT_EQ(DocumentTakenBy("*.jp*"), "x.jpg");
  EXPECT_EQ(DocumentTakenBy("*.tmp"), std::nullopt);
}

TEST_F(OptionFormTest, TheInputBoxAsksWithTheDialogsTextsAndNoAnswerAddsNothing) {
  std::vector<Lines> asked;
  auto record = [&](std::string typed, bool ok) {
    ui.QueueModal(
        [&asked, typed, ok](ui::Form& form) {
          auto& box = static_cast<TFrmInputBox&>(form);
          asked.push_back({box.Caption(), box.LbMessage.Caption(), box.BtnOK.Caption(),
                           box.BtnCancel.Caption()});
          box.Edinput.TextTyped(typed);
          (ok ? box.BtnOK : box.BtnCancel).Click();
        },
        "TFrmInputBox");
  };
  Open([&](TFrmoption& d) {
    record("", true);
    d.Btnaddfileend.Click();
    record("*.exe", false);
    d.Btnaddexception.Click();
  });
  const std::string ok = T(Text::kOk), cancel = T(Text::kCancel);
  EXPECT_EQ(asked, (std::vector<Lines>{
                       {T(Text::kNewPatternCaption), T(Text::kNewPatternPrompt), ok, cancel},
                       {T(Text::kNewExceptionCaption), T(Text::kNewExceptionPrompt), ok, cancel}}));
  EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(OptionFormTest, TheNewEntryIsTheOnlyOneSelectedSoRemovingTakesItBack) {
  target.FileEndingList = {"*.tmp", "a.b"};
  Open([&](TFrmoption& d) {
    d.LBfileend.UserSelected(1, true);
    d.LBfileend.UserSetItemIndex(1);
    Answer("*.bak");  // sorts first, not last
    d.Btnaddfileend.Click();
    EXPECT_EQ(SelectedItems(d.LBfileend), Lines{"*.bak"});
    EXPECT_EQ(d.LBfileend.ItemIndex(), 0);
    d.Btndeletefileend.Click();
    EXPECT_EQ(Items(d.LBfileend), (Lines{"*.tmp", "a.b"}));
  });
}

TEST_F(OptionFormTest, RemovingRecomputesTheRangeWithoutMarginEvenWithNothingSelected) {
  target.FileEndingList = {"*.a", "*.longest", "*.mid"};
  target.ExceptionList = {"short.t", "a-much-longer-name.txt"};
  Open([&](TFrmoption& d) {
    EXPECT_EQ(d.LBfileend.HorizontalExtent(), 9 * kChar + 10);
    d.Btndeletefileend.Click();
    EXPECT_EQ(d.LBfileend.Count(), 3);
    EXPECT_EQ(d.LBfileend.HorizontalExtent(), 9 * kChar);
    // Several at once; the widest goes, so the range shrinks to the next one.
    d.LBfileend.UserSelected(0, true);
    d.LBfileend.UserSelected(1, true);
    d.Btndeletefileend.Click();
    EXPECT_EQ(Items(d.LBfileend), Lines{"*.mid"});
    EXPECT_EQ(d.LBfileend.HorizontalExtent(), 5 * kChar);

    d.LBexception.UserSelected(0, true);  // "a-much-longer-name.txt"
    d.Btndeleteexception.Click();
    EXPECT_EQ(Items(d.LBexception), Lines{"short.t"});
    EXPECT_EQ(d.LBexception.HorizontalExtent(), 7 * kChar);
    d.LBexception.UserSelected(0, true);
    d.Btndeleteexception.Click();
    EXPECT_EQ(d.LBexception.HorizontalExtent(), 0);
  });
}

TEST_F(OptionFormTest, TheRecycleBinSwitchesExcludeEachOtherUnlessAborted) {
  target.AdvancedOptions = SwitchesOn({kEmptyRecycleBin, kRecycleFound});
  Open([](TFrmoption& d) {
    EXPECT_TRUE(d.CBsecuritypaper.Checked());
    EXPECT_FALSE(d.CBpaper.Checked());
    d.BBtnok.Click();
  });
  EXPECT_EQ(target.AdvancedOptions, SwitchesOn({kRecycleFound}));

  target.AdvancedOptions = SwitchesOn({kEmptyRecycleBin, kRecycleFound});
  Open([&](TFrmoption& d) {
    // A user's clicks follow the same rules; switching one off leaves the other off.
    d.CBpaper.Click();
    EXPECT_EQ(Checked(), SwitchesOn({kEmptyRecycleBin}));
    d.CBpaper.Click();
    EXPECT_EQ(Checked(), Switches{});
    d.BBtnabort.Click();
  });
  EXPECT_EQ(target.AdvancedOptions, SwitchesOn({kEmptyRecycleBin, kRecycleFound}));
}

TEST_F(OptionFormTest, StandardRestoresTheDefaultsInTheDialogOnly) {
  sim.AddFile("data\\standard\\fileformat.dat", "*.tmp\r\n*.chk\r\n");
  sim.AddFile("data\\standard\\exception.dat", ".gitkeep\r\nDesktop.ini\r\n");
  target.FileEndingList = {"*.old"};
  target.ExceptionList = {"x.txt"};
  target.ExceptionListLower = {"x.txt"};
  target.AdvancedOptions = SwitchesOn({kFavourites, kZeroByteFiles, kRecycleFound, kShaderCaches});
  const Settings before = target;
  const Switches defaults = SwitchesOn(
      {kTempFolders, kRecentDocuments, kEmptyRecycleBin, kTempInternetFiles, kCookies, kHistory,
       kOldUpdateFiles, kSystemLog, kUnusedDlls, kRunList, kReviewFirst, kErrorReports});
  ui.answerMessageBox = [](const platform::sim::SimUi::MessageBoxCall& box) {
    EXPECT_EQ(box.text, T(Text::kStandardQuestion));
    EXPECT_EQ(box.caption, T(Text::kStandard));
    EXPECT_EQ(box.style, 0x24u);  // Yes and No, a question
    return 7;                     // IDNO
  };
  Open([&](TFrmoption& d) {
    d.Btnstandard.Click();
    EXPECT_EQ(Items(d.LBfileend), Lines{"*.old"}) << "No changes nothing";
    EXPECT_EQ(Items(d.LBexception), Lines{"x.txt"});
    EXPECT_EQ(Checked(), target.AdvancedOptions);
    d.BBtnok.Click();
  });
  EXPECT_EQ(ui.MessageBoxes().size(), 1u);
  ui.answerMessageBox = nullptr;  // Yes
  Open([&](TFrmoption& d) {
    d.Btnstandard.Click();
    EXPECT_EQ(Items(d.LBfileend), (Lines{"*.chk", "*.tmp"}));
    EXPECT_EQ(Items(d.LBexception), (Lines{".gitkeep", "Desktop.ini"}));
    // The second line is not more than 10 wider than the range the first one left.
    EXPECT_EQ(d.LBexception.HorizontalExtent(), 8 * kChar + 10);
    EXPECT_EQ(Checked(), defaults);
    d.BBtnabort.Click();
  });
  EXPECT_EQ(target.FileEndingList, before.FileEndingList);
  EXPECT_EQ(target.ExceptionList, before.ExceptionList);
  EXPECT_EQ(target.AdvancedOptions, before.AdvancedOptions);

  Open([](TFrmoption& d) {
    d.Btnstandard.Click();
    d.BBtnok.Click();
  });
  EXPECT_EQ(target.FileEndingList, (Lines{"*.chk", "*.tmp"}));
  EXPECT_EQ(target.ExceptionListLower, (Lines{".gitkeep", "desktop.ini"}));
  EXPECT_EQ(target.AdvancedOptions, defaults);
}

// The ages offered, with the one the file set among them; "never" switches the Downloads
// clean-up off and keeps its days; "Standard" empties the whole recycle bin again; only OK takes a
// choice over, and it ends the file's bad lines.
TEST_F(OptionFormTest, AgeChoicesShowTheRuleInEffectAndOkTakesThemOver) {
  const auto items = [](const ui::ComboBox& box) {
    Lines lines;
    for (int i = 0; i < box.Count(); ++i)
      lines.push_back(box.Item(i));
    return lines;
  };
  target.Ages = {48, 45};
  target.AgeRuleBadLines = {3};
  target.keepOnDisk[static_cast<int>(SettingsFile::kAgeRules)] = true;
  Open([&](TFrmoption& d) {
    EXPECT_EQ(items(d.DCBtempkeep).size(), 4u);
    EXPECT_EQ(d.DCBtempkeep.Item(0), T(Text::kKeepNone));
    EXPECT_EQ(d.DCBtempkeep.ItemIndex(), 2);  // 48 hours, between 24 and 168
    EXPECT_EQ(items(d.DCBdownloads).size(), 5u);
    EXPECT_EQ(d.DCBdownloads.Text(), T(Text::kNever));
    d.DCBtempkeep.UserChose(0);
    d.DCBdownloads.UserChose(3);  // the 45 days the file holds
    d.BBtnabort.Click();
  });
  EXPECT_EQ(target.Ages, (AgeRules{48, 45}));
  EXPECT_FALSE(target.AdvancedOptions[kDownloads]);
  Open([&](TFrmoption& d) {
    d.DCBtempkeep.UserChose(0);
    d.DCBdownloads.UserChose(2);  // 30 days
    EXPECT_EQ(items(d.DCBbindays).size(), 5u);
    EXPECT_EQ(d.DCBbindays.Text(), T(Text::kBinAllItems));
    d.DCBbindays.UserChose(3);  // 30 days
    d.BBtnok.Click();
  });
  EXPECT_EQ(target.Ages, (AgeRules{0, 30, 30}));
  EXPECT_TRUE(target.AdvancedOptions[kDownloads]);
  EXPECT_TRUE(target.AgeRuleBadLines.empty());
  EXPECT_FALSE(target.keepOnDisk[static_cast<int>(SettingsFile::kAgeRules)]);
  Open([&](TFrmoption& d) {
    EXPECT_EQ(items(d.DCBdownloads).size(), 4u) << "30 is offered";
    EXPECT_EQ(d.DCBdownloads.ItemIndex(), 2);
    d.DCBdownloads.UserChose(0);
    d.BBtnok.Click();
  });
  EXPECT_FALSE(target.AdvancedOptions[kDownloads]);
  EXPECT_EQ(target.Ages.DownloadsDays, 30);
  // The defaults: the temporary files of a day stay, no download goes.
  target.AdvancedOptions[kDownloads] = true;
  ui.answerMessageBox = nullptr;  // Yes
  Open([&](TFrmoption& d) {
    d.Btnstandard.Click();
    EXPECT_EQ(d.DCBtempkeep.ItemIndex(), 1);
    EXPECT_EQ(d.DCBdownloads.ItemIndex(), 0);
    d.BBtnok.Click();
  });
  EXPECT_EQ(target.Ages, (AgeRules{24, 30}));
  EXPECT_FALSE(target.AdvancedOptions[kDownloads]);
}

TEST_F(OptionFormTest, MissingDefaultFilesLeaveTheirListEmptyAndStillResetTheRest) {
  sim.AddFile("data\\standard\\exception.dat", "desktop.ini\r\n");
  target.FileEndingList = {"*.old"};
  target.ExceptionList = {"x.txt"};
  Open([&](TFrmoption& d) {
    d.Btnstandard.Click();
    EXPECT_EQ(d.LBfileend.Count(), 0);
    EXPECT_EQ(d.LBfileend.HorizontalExtent(), 0);
    EXPECT_EQ(Items(d.LBexception), Lines{"desktop.ini"});
    EXPECT_TRUE(d.CBtemp.Checked());
  });
  sim.DeleteFile("data\\standard\\exception.dat");
  Open([&](TFrmoption& d) {
    d.Btnstandard.Click();
    EXPECT_EQ(d.LBfileend.Count() + d.LBexception.Count(), 0);
    EXPECT_TRUE(d.CBquestion.Checked());
  });
  // The two questions whether to reset, and no message about the missing files.
  ASSERT_EQ(ui.MessageBoxes().size(), 2u);
  EXPECT_EQ(ui.MessageBoxes()[1].text, T(Text::kStandardQuestion));
}

TEST_F(OptionFormTest, AdministratorSwitchesAreDisabledAndOffForOthers) {
  target.AdvancedOptions =
      SwitchesOn({kTempFolders, kOldUpdateFiles, kSystemLog, kUnusedDlls, kErrorReports});
  Open(
      [&](TFrmoption& d) {
        for (ui::CheckBox* box : {&d.CBoldupdatefile, &d.CBsystemlog, &d.CBdll}) {
          EXPECT_FALSE(box->Enabled());
          EXPECT_FALSE(box->Checked());
          box->Click();  // a disabled box cannot be clicked on
          EXPECT_FALSE(box->Checked());
        }
        // The error reports stay usable: the run leaves out only their system part.
        EXPECT_TRUE(d.CBerrorreport.Enabled() && d.CBerrorreport.Checked());
        EXPECT_TRUE(d.CBtemp.Enabled());
        d.Btnstandard.Click();
        EXPECT_FALSE(d.CBoldupdatefile.Checked() || d.CBsystemlog.Checked() || d.CBdll.Checked());
        EXPECT_TRUE(d.CBExecute.Checked() && d.CBerrorreport.Checked());
        d.BBtnok.Click();
      },
      false);
  EXPECT_FALSE(target.AdvancedOptions[kOldUpdateFiles] || target.AdvancedOptions[kSystemLog] ||
               target.AdvancedOptions[kUnusedDlls]);
  EXPECT_TRUE(target.AdvancedOptions[kTempFolders] && target.AdvancedOptions[kErrorReports]);

  // For an administrator they are usable and "Standard" switches them on.
  Open([&](TFrmoption& d) {
    EXPECT_TRUE(d.CBdll.Enabled());
    d.Btnstandard.Click();
    EXPECT_TRUE(d.CBoldupdatefile.Checked() && d.CBsystemlog.Checked() && d.CBdll.Checked());
  });
}

// Through the main window: what OK confirms is saved at once and again at close, in the list
// boxes' order, also for a file that was locked at start and stood in empty.
TEST(OptionsOfTheProgram, ConfirmedSettingsAreSavedAtOnceAndAtCloseInListOrder) {
  testing_app::AppHarness h;
  h.WriteRecord(
      std::string("\x02"
                  "En\x01",
                  4));
  h.sim.AddFile("data\\fileformat.dat", "*.tmp\r\n*.bak\r\n");
  h.sim.AddFile("data\\exception.dat", "old.txt\r\n");
  h.faults.FailPath(platform::sim::Op::kReadFile, "data\\exception.dat");
  h.ui.QueueModal(
      [&h](ui::Form& form) {
        auto& d = static_cast<TFrmoption&>(form);
        EXPECT_EQ(Items(d.LBfileend), (Lines{"*.bak", "*.tmp"}));
        EXPECT_EQ(d.LBexception.Count(), 0);
        h.ui.QueueModal(
            [](ui::Form& box) {
              static_cast<TFrmInputBox&>(box).Edinput.TextTyped("Keep.Me");
              static_cast<TFrmInputBox&>(box).BtnOK.Click();
            },
            "TFrmInputBox");
        d.Btnaddexception.Click();
        d.CBquestion.Click();
        d.BBtnok.Click();
      },
      "TFrmoption");
  h.Run([&h](app::TFrmMain& main) {
    main.Btnoption.Click();
    EXPECT_EQ(main.Settings.ExceptionListLower, Lines{"keep.me"});
    // Kept at once: a crash or a power cut from now on loses nothing the user confirmed.
    EXPECT_EQ(h.sim.Content("data\\fileformat.dat"), "*.bak\r\n*.tmp\r\n");
    EXPECT_EQ(h.sim.Content("data\\exception.dat"), "Keep.Me\r\n");
    EXPECT_EQ(h.sim.Content("data\\advancedoption.dat"),
              std::string(13, '\0') + '\x01' + std::string(6, '\0'));
    h.sim.AddFile("data\\exception.dat", "changed.by.hand\r\n");
    // Leaving without OK writes nothing.
    h.ui.QueueModal([](ui::Form& form) { form.Close(); }, "TFrmoption");
    main.Btnoption.Click();
    EXPECT_EQ(h.sim.Content("data\\exception.dat"), "changed.by.hand\r\n");
    main.BBtnClose.Click();
  });
  // Closing writes them too.
  EXPECT_EQ(h.sim.Content("data\\exception.dat"), "Keep.Me\r\n");
}

}  // namespace
}  // namespace settings
