// The dialog of the applications' entries on the sim: what it lists and how, ticking with and
// without a warning, the search, and what OK and Cancel leave in the settings.
#include "settings/applications_form.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_ui.h"
#include "tests/cleaners/rules_harness.h"

namespace settings {
namespace {

using Lines = std::vector<std::string>;
using Script = std::function<void(TFrmapplications& dialog)>;
constexpr int kYes = 6;
constexpr int kNo = 7;

// Chat and Zed are found, Absent is not; Alpha applies everywhere, and so does Risky, which
// warns.
constexpr const char* kRules =
    "[Zed *]\r\nLangSecRef=3021\r\nDetectFile=%AppData%\\Zed\r\nFileKey1=%AppData%\\Zed|*.log\r\n"
    "[Chat *]\r\nLangSecRef=3021\r\nDetectFile=%AppData%\\Chat\r\n"
    "FileKey1=%AppData%\\Chat\\Cache|*\r\n"
    "[Absent]\r\nDetectFile=%AppData%\\Absent\r\nFileKey1=%AppData%\\Absent|*\r\n"
    "[Risky]\r\nSection=Games\r\nWarning=Takes the downloads in progress.\r\n"
    "FileKey1=%LocalAppData%\\Risky|*\r\n"
    "[alpha]\r\nSection=Games\r\nFileKey1=%LocalAppData%\\Alpha|*\r\n";

class ApplicationsFormTest : public ::testing::Test {
 protected:
  ApplicationsFormTest() {
    testing_cleaners::SeedWindows(sim);
    sim.AddFile("C:\\Dustorix\\data\\cleaners\\apps.ini", kRules);
    sim.AddFolder(testing_cleaners::kRoaming + "\\Zed");
    sim.AddFolder(testing_cleaners::kRoaming + "\\Chat");
    target.CleanerList = {"Absent", "zed *", "Gone"};
    target.keepOnDisk[static_cast<int>(SettingsFile::kCleaners)] = true;
  }

  bool Open(Script script) {
    ui.QueueModal([script](ui::Form& form) { script(static_cast<TFrmapplications&>(form)); },
                  "TFrmapplications");
    const bool confirmed = dialog.Open(target, sim, 7);
    EXPECT_EQ(ui.PendingScripts(), 0u);
    return confirmed;
  }

  // The rows as the list shows them: a section's name in brackets, an entry ticked or not.
  static Lines Shown(TFrmapplications& dialog) {
    Lines rows;
    const ui::ListView& list = dialog.LVentries;
    for (int row = 0; row < list.RowCount(); ++row) {
      const std::string text = list.Cell(row, 0);
      if (list.KindAt(row) == ui::ListView::RowKind::kHeading)
        rows.push_back("[" + text + "]");
      else
        rows.push_back((list.Checked(row) ? "x " : "- ") + text);
    }
    return rows;
  }

  static int RowOf(TFrmapplications& dialog, const std::string& text) {
    for (int row = 0; row < dialog.LVentries.RowCount(); ++row) {
      if (dialog.LVentries.Cell(row, 0) == text) return row;
    }
    ADD_FAILURE() << text << " is not listed";
    return -1;
  }

  platform::sim::SimSystem sim;
  platform::sim::SimUi ui;
  ui::Application app{ui};
  lang::LanguageTexts texts;
  TFrmapplications dialog{app, texts};
  Settings target;
};

TEST_F(ApplicationsFormTest, ListsWhatAppliesBySectionAndOkKeepsWhatIsNotShown) {
  const bool confirmed = Open([this](TFrmapplications& d) {
    EXPECT_EQ(Shown(d),
              (Lines{"[Applications]", "- Chat", "x Zed", "[Games]", "- alpha", "- Risky"}));
    EXPECT_EQ(d.Lblcount.Caption(), "4 von 5 Eintr\xC3\xA4gen betreffen diesen Computer");
    EXPECT_EQ(d.Caption(), "Anwendungen");
    d.LVentries.UserClickCheckBox(RowOf(d, "Chat"));
    d.LVentries.UserClickCheckBox(RowOf(d, "Zed"));
    d.LVentries.UserClickCheckBox(RowOf(d, "alpha"));
    d.LVentries.UserClickCheckBox(0);  // a section has no box
    EXPECT_EQ(Shown(d),
              (Lines{"[Applications]", "x Chat", "- Zed", "[Games]", "x alpha", "- Risky"}));
    d.BBtnok.Click();
  });
  EXPECT_TRUE(confirmed);
  // Absent and Gone do not apply here: they stay chosen for when they do again.
  EXPECT_EQ(target.CleanerList, (Lines{"Absent", "Gone", "Chat *", "alpha"}));
  EXPECT_FALSE(target.keepOnDisk[static_cast<int>(SettingsFile::kCleaners)]);
  EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(ApplicationsFormTest, CancelChangesNothing) {
  const Lines before = target.CleanerList;
  EXPECT_FALSE(Open([](TFrmapplications& d) {
    d.LVentries.UserClickCheckBox(1);
    d.BBtnabort.Click();
  }));
  EXPECT_EQ(target.CleanerList, before);
  EXPECT_TRUE(target.keepOnDisk[static_cast<int>(SettingsFile::kCleaners)]);
  // Opened again, the dialog shows the choice as it is, not as it was left.
  Open([this](TFrmapplications& d) {
    EXPECT_EQ(Shown(d)[1], "- Chat");
    d.BBtnabort.Click();
  });
}

TEST_F(ApplicationsFormTest, AWarnedEntryIsTickedOnlyWhenTheUserSaysYesToItsWarning) {
  int answer = kNo;
  ui.answerMessageBox = [&answer](const platform::sim::SimUi::MessageBoxCall&) { return answer; };
  Open([&](TFrmapplications& d) {
    const int risky = RowOf(d, "Risky");
    d.LVentries.UserClickCheckBox(risky);
    EXPECT_FALSE(d.LVentries.Checked(risky));
    answer = kYes;
    d.LVentries.UserClickCheckBox(risky);
    EXPECT_TRUE(d.LVentries.Checked(risky));
    d.LVentries.UserClickCheckBox(risky);  // unticking asks nothing
    d.LVentries.UserClickCheckBox(risky);
    d.BBtnok.Click();
  });
  ASSERT_EQ(ui.MessageBoxes().size(), 3u);
  const auto& box = ui.MessageBoxes().front();
  EXPECT_EQ(box.caption, "Risky");
  EXPECT_EQ(box.text, "Takes the downloads in progress.\n\nTrotzdem ausw\xC3\xA4hlen?");
  EXPECT_EQ(box.languageId, 7);
  EXPECT_EQ(target.CleanerList, (Lines{"Absent", "Gone", "Zed *", "Risky"}));
}

TEST_F(ApplicationsFormTest, TheSearchNarrowsTheRowsAndTicksStayWithTheirEntries) {
  Open([this](TFrmapplications& d) {
    d.Edsearch.TextTyped("ZE");
    EXPECT_EQ(Shown(d), (Lines{"[Applications]", "x Zed"}));
    d.LVentries.UserClickCheckBox(1);
    d.Edsearch.TextTyped("a");
    EXPECT_EQ(Shown(d), (Lines{"[Applications]", "- Chat", "[Games]", "- alpha"}));
    d.Edsearch.TextTyped("nothing like it");
    EXPECT_EQ(Shown(d), Lines{});
    d.Edsearch.TextTyped("");
    EXPECT_EQ(Shown(d),
              (Lines{"[Applications]", "- Chat", "- Zed", "[Games]", "- alpha", "- Risky"}));
    EXPECT_EQ(d.Lblcount.Caption(), "4 von 5 Eintr\xC3\xA4gen betreffen diesen Computer");
    d.BBtnok.Click();
  });
  EXPECT_EQ(target.CleanerList, (Lines{"Absent", "Gone"}));
}

}  // namespace
}  // namespace settings
