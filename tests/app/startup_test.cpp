#include <gtest/gtest.h>

#include "about/info_form.h"
#include "clean/delinfo_form.h"
#include "clean/markfile_form.h"
#include "lang/lang_form.h"
#include "settings/inputbox_form.h"
#include "settings/option_form.h"
#include "tests/app/app_harness.h"

namespace testing_app {
namespace {

using app::TFrmMain;
using platform::sim::Op;
using Script = std::function<void(ui::Form&)>;

// The language dialog, left with its OK button after choosing line `index` (-1: untouched).
Script ChooseLanguage(int index) {
  return [index](ui::Form& form) {
    auto& dialog = static_cast<lang::TFrmlang&>(form);
    EXPECT_EQ(dialog.CbBlang.ItemIndex(), 0);  // English preselected
    if (index >= 0) dialog.CbBlang.UserChose(index);
    dialog.BBtnok.Click();
  };
}

Script CloseBox() {
  return [](ui::Form& form) { form.Close(); };
}

TEST(Startup, FirstStartAsksForTheLanguageBeforeTheMainWindowShows) {
  AppHarness h;
  h.ui.QueueModal(
      [&](ui::Form& form) {
        EXPECT_FALSE(app::FrmMain->Showing());
        ChooseLanguage(1)(form);
      },
      "TFrmlang");
  bool ran = false;
  EXPECT_EQ(h.Run([&](TFrmMain& main) {
    ran = true;
    // Every form exists while the main window runs.
    EXPECT_TRUE(about::Frminfo && settings::Frmoption && clean::FrmDelinfo &&
                settings::FrmInputBox && clean::Frmmarkfile);
    EXPECT_TRUE(main.Deutsch1.Checked());
    EXPECT_FALSE(main.Engish1.Checked() || main.N2.Checked());
    EXPECT_EQ(main.MessageLanguageId, 7);
    EXPECT_EQ(main.Datei1.Caption(), Synthetic("De", Text::kMenuFile));
    EXPECT_EQ(main.BtnDelete.Caption(), Synthetic("De", Text::kDelete));
    EXPECT_EQ(main.Lschen1.Caption(), Synthetic("De", Text::kDelete));
    EXPECT_EQ(main.BBtnClose.Caption(), Synthetic("De", Text::kClose));
    EXPECT_EQ(settings::Frmoption->Caption(), Synthetic("De", Text::kOptions));
    EXPECT_EQ(main.Caption(), "Dustorix");
    // The choice is kept at once, not only at the close.
    EXPECT_EQ(h.Record(), std::string("\x02"
                                      "De\x01",
                                      4));
    main.BBtnClose.Click();
  }),
            0);
  EXPECT_TRUE(ran);
  EXPECT_EQ(app::FrmMain, nullptr);
  EXPECT_EQ(h.Record(), std::string("\x02"
                                    "De\x01",
                                    4));
  EXPECT_EQ(h.sim.Content("data\\advancedoption.dat"), std::string(20, '\0'));
}

TEST(Startup, EveryWayOfLeavingTheLanguageDialog) {
  struct Case {
    std::string stored;  // whichlang.dat before the start; "" for none
    Script dialog;
    std::string code;
    std::uint16_t messageLanguage;
  };
  const std::vector<Case> cases = {
      {"", ChooseLanguage(-1), "En", 9},
      {"", ChooseLanguage(0), "En", 9},
      {"", ChooseLanguage(1), "De", 7},
      {"", ChooseLanguage(2), "Gr", 8},
      {"", CloseBox(), "En", 9},
      {std::string("\x02"
                   "Gr\x00",
                   4),
       CloseBox(), "En", 9},
      {std::string("\x02"
                   "De\x00",
                   4),
       CloseBox(), "De", 7},
      {std::string("\x02"
                   "Fr\x00",
                   4),
       CloseBox(), "En", 9},
      {std::string("\x02"
                   "De",
                   3),
       ChooseLanguage(2), "Gr", 8},  // short: not chosen
  };
  for (const Case& c : cases) {
    AppHarness h;
    if (!c.stored.empty()) h.WriteRecord(c.stored);
    h.ui.QueueModal(c.dialog, "TFrmlang");
    h.Run([&](TFrmMain& main) {
      EXPECT_EQ(main.Settings.LanguageRecord.LanguageCode, c.code);
      EXPECT_EQ(main.MessageLanguageId, c.messageLanguage);
      EXPECT_EQ(main.Datei1.Caption(), c.code + ":0");
      main.Close();
    });
    EXPECT_EQ(h.Record(), std::string("\x02") + c.code + "\x01") << c.code;
  }
}

TEST(Startup, AStoredChoiceIsKeptAsItStands) {
  AppHarness h;
  h.WriteRecord(
      std::string("\x02"
                  "de\x01",
                  4));  // lower case: matches no language
  h.Run([&](TFrmMain& main) {
    EXPECT_FALSE(main.Deutsch1.Checked() || main.Engish1.Checked() || main.N2.Checked());
    EXPECT_EQ(main.MessageLanguageId, 0);
    main.Beenden1.Click();
  });
  EXPECT_TRUE(h.ui.ModalHistory().empty());  // no language dialog
  EXPECT_EQ(h.Record(), std::string("\x02"
                                    "de\x01",
                                    4));
}

TEST(Startup, ShortLongAndMissingLanguageFiles) {
  AppHarness h;
  h.WriteLanguage("De", 10);
  h.WriteLanguage("En", 100);
  h.WriteRecord(
      std::string("\x02"
                  "De\x01",
                  4));
  h.Run([&](TFrmMain& main) {
    EXPECT_EQ(main.GBdelete.Caption(), Synthetic("De", Text::kDeleteGroup));
    // Line 11 is missing: the design text stands in, never a blank caption.
    EXPECT_EQ(main.RBtnalldrive.Caption(), "Alle Lauf&werke");
    EXPECT_EQ(main.BBtnClose.Caption(),
              "&Schlie\xC3\x9F"
              "en");
    // A file without the group box's line (as before there was one) leaves its own caption.
    EXPECT_EQ(settings::Frmoption->GBadvancedoption.Caption(), "Weitere Optionen");
    main.Engish1.Click();
    // Lines after the last text are not read.
    EXPECT_EQ(main.LanguageTexts[Text::kStandardHint], En(Text::kStandardHint));
    EXPECT_EQ(main.RBtnalldrive.Caption(), En(Text::kAllDrives));
    h.sim.DeleteFile("data\\lang\\Gr.dat");
    main.N2.Click();  // no file: the English texts stay everywhere
    EXPECT_TRUE(main.N2.Checked());
    EXPECT_FALSE(main.Engish1.Checked());
    EXPECT_EQ(main.MessageLanguageId, 8);
    EXPECT_EQ(main.RBtnalldrive.Caption(), En(Text::kAllDrives));
    EXPECT_EQ(settings::Frmoption->CBtemp.Caption(), En(Text::kTempFoldersCaption));
    main.Deutsch1.Click();
    EXPECT_EQ(settings::Frmoption->CBtemp.Caption(), "&Tempverzeichnis");
    EXPECT_EQ(settings::Frmoption->GBadvancedoption.Caption(), "Weitere Optionen");
    EXPECT_EQ(settings::Frmoption->CBtemp.Hint(), "Tempverzeichnis leeren");
    EXPECT_EQ(settings::Frmoption->Caption(), Synthetic("De", Text::kOptions));
    // A text newer than the file keeps its design text.
    EXPECT_EQ(settings::Frmoption->GBadvancedoption.Caption(), "Weitere Optionen");
    main.Close();
  });
  EXPECT_EQ(h.Record(), std::string("\x02"
                                    "De\x01",
                                    4));
}

TEST(Startup, NonAdministratorsNeverKeepTheAdministratorSwitches) {
  AppHarness h;
  h.sim.SetAdministrator(false);
  h.WriteRecord(
      std::string("\x02"
                  "En\x01",
                  4));
  h.sim.AddFile("data\\advancedoption.dat", std::string(20, '\x01'));
  h.Run([&](TFrmMain& main) {
    EXPECT_FALSE(main.UserIsAdmin);
    // The error reports stay on: for other users the run takes only their own part.
    for (int i = 0; i < settings::kSwitchCount; ++i) {
      const bool adminOnly = i == 8 || i == 9 || i == 10 || i == 17 || i == 18;
      EXPECT_EQ(main.Settings.AdvancedOptions[static_cast<size_t>(i)], !adminOnly) << i;
    }
    main.Close();
  });
  EXPECT_EQ(h.sim.Content("data\\advancedoption.dat"),
            std::string(8, '\x01') + std::string(3, '\0') + std::string(6, '\x01') +
                std::string(2, '\0') + '\x01');
}

TEST(Startup, EveryWayOfClosingTheMainWindowSaves) {
  const std::vector<std::function<void(TFrmMain&)>> ways = {
      [](TFrmMain& main) { main.BBtnClose.Click(); }, [](TFrmMain& main) { main.Beenden1.Click(); },
      [](TFrmMain& main) { main.Close(); },  // the window frame
  };
  for (const auto& close : ways) {
    AppHarness h;
    h.WriteRecord(
        std::string("\x02"
                    "En\x01",
                    4));
    h.sim.AddFile("data\\fileformat.dat", "*.tmp");
    h.Run([&](TFrmMain& main) {
      main.Settings.FileEndingList.push_back("*.chk");
      close(main);
      EXPECT_FALSE(main.Showing());
    });
    EXPECT_EQ(h.sim.Content("data\\fileformat.dat"), "*.tmp\r\n*.chk\r\n");
  }
}

TEST(Startup, ALanguageChosenFromTheMenuIsKeptEvenIfTheProgramNeverCloses) {
  AppHarness h;
  h.WriteRecord(
      std::string("\x02"
                  "En\x01",
                  4));
  h.Run([&](TFrmMain& main) { main.Deutsch1.Click(); });
  EXPECT_EQ(h.Record(), std::string("\x02"
                                    "De\x01",
                                    4));
}

TEST(Startup, AnEmptyDataFolderStartsEmptyWithTheDesignTexts) {
  AppHarness h;
  h.sim.AddFolder("C:\\Empty\\data");
  h.sim.SetCurrentDirectory("C:\\Empty");
  h.ui.QueueModal(ChooseLanguage(-1), "TFrmlang");
  h.Run([&](TFrmMain& main) {
    EXPECT_TRUE(main.Settings.FileEndingList.empty());
    // No language file: German as the forms were designed, so that every button says what it
    // does.
    EXPECT_EQ(main.Datei1.Caption(), "&Datei");
    EXPECT_EQ(main.BtnAnalyze.Caption(), "A&nalysieren");
    EXPECT_EQ(main.BtnDelete.Caption(), "&L\xC3\xB6schen");
    EXPECT_EQ(main.Optionen1.Caption(), "&Optionen\xE2\x80\xA6");
    main.Close();
  });
  EXPECT_EQ(h.ui.ModalHistory(), std::vector<std::string>{"TFrmlang"});
  // No data\lang folder: the choice could not be kept, and is asked for again.
  EXPECT_FALSE(h.sim.Exists("C:\\Empty\\data\\lang\\whichlang.dat"));
  EXPECT_TRUE(h.sim.Exists("C:\\Empty\\data\\fileformat.dat"));
}

TEST(Startup, ALanguageFileSavedAsUtf16IsReadAsSuch) {
  AppHarness h;
  h.WriteRecord(
      std::string("\x02"
                  "Gr\x01",
                  4));
  std::string utf16 = "\xFF\xFE";
  for (const char16_t unit : u"\u0391\u03c1\u03c7\u03b5\u03af\u03bf\r\n&\u0394\u03b9\r\n") {
    if (unit != 0) utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  }
  h.sim.AddFile("data\\lang\\Gr.dat", utf16);
  h.Run([&](TFrmMain& main) {
    EXPECT_EQ(main.Datei1.Caption(), "\xCE\x91\xCF\x81\xCF\x87\xCE\xB5\xCE\xAF\xCE\xBF");
    EXPECT_EQ(main.BtnDelete.Caption(), "&\xCE\x94\xCE\xB9");
    main.Close();
  });
}

TEST(Startup, TheMainWindowShowsTheDrivesWithTheCurrentOneChosen) {
  AppHarness h;
  h.WriteRecord(
      std::string("\x02"
                  "En\x01",
                  4));
  h.Run([&](TFrmMain& main) {
    ASSERT_EQ(main.DCBdrive.Count(), 2);
    EXPECT_EQ(main.DCBdrive.Item(0), "c: [System]");
    EXPECT_EQ(main.DCBdrive.Item(1), "d:");
    EXPECT_EQ(main.DCBdrive.ItemIndex(), 0);
    EXPECT_EQ(main.DriveLetterAt(1), 'D');
    // One of the two is always on: the drive in the box at first.
    EXPECT_TRUE(main.RBtndrive.Checked());
    EXPECT_FALSE(main.RBtnalldrive.Checked());
    EXPECT_FALSE(main.BBtnstop.Visible());
    EXPECT_FALSE(main.Abbrechen1.Enabled());
    main.Close();
  });
}

// --- A second start

TEST(SingleInstance, ASecondStartActivatesTheFirstAndEnds) {
  AppHarness h;
  h.WriteRecord(
      std::string("\x02"
                  "En\x01",
                  4));
  h.Run([&](TFrmMain& main) {
    const std::uint64_t writes = h.sim.Calls(Op::kWriteFile);
    platform::sim::SimUi secondUi;  // a second process would have its own
    EXPECT_EQ(app::RunDustorix(h.sim, secondUi), 0);
    EXPECT_EQ(h.sim.Calls(Op::kWriteFile), writes);
    EXPECT_EQ(app::FrmMain, &main);
    EXPECT_EQ(h.ui.Restores(), 0);
    main.App().ProcessMessages();
    EXPECT_EQ(h.ui.Restores(), 1);
    EXPECT_EQ(h.ui.BroughtToFront(), std::vector<std::string>{"TFrmMain"});

    // Also while a modal dialog of the first instance is open.
    h.ui.QueueModal([&](ui::Form& info) {
      EXPECT_EQ(app::RunDustorix(h.sim, secondUi), 0);
      info.App().ProcessMessages();
      info.Close();
    });
    main.Info1.Click();
    EXPECT_EQ(h.ui.Restores(), 2);

    // Other programs' messages are left alone.
    h.ui.PostMessage({app::InstanceMessage + 1, 0, 0});
    main.App().ProcessMessages();
    EXPECT_EQ(h.ui.Restores(), 2);
    main.Close();
  });
  // After the first instance ended, the next start is a first instance again.
  EXPECT_FALSE(h.sim.SemaphoreHeld(app::InstanceName));
  h.Run([&](TFrmMain& main) { main.Close(); });
}

TEST(SingleInstance, AFailedSemaphoreStillStartsTheProgram) {
  AppHarness h;
  h.WriteRecord(
      std::string("\x02"
                  "En\x01",
                  4));
  h.sim.FailSemaphore();
  bool ran = false;
  h.Run([&](TFrmMain& main) {
    ran = true;
    main.Close();
  });
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace testing_app
