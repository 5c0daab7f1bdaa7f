#include "app/main_form.h"

#include <algorithm>
#include <memory>

#include "about/info_form.h"
#include "app/instance.h"
#include "clean/markfile_form.h"
#include "lang/lang_form.h"
#include "platform/ui/application.h"
#include "settings/applications_form.h"
#include "settings/option_form.h"
#include "settings/settings_files.h"

namespace app {

TFrmMain* FrmMain = nullptr;

namespace {
using BK = ui::Button::ButtonKind;
constexpr const char* kEllipsis = "\xE2\x80\xA6";
}  // namespace

TFrmMain::TFrmMain(ui::Application& app, platform::System& system)
    : ui::Form(app),
      GBdelete(this, {8, 6, 203, 112}, "M\xC3\xBClldateien l\xC3\xB6schen"),
      RBtndrive(&GBdelete, {10, 22, 17, 17}, " "),
      RBtnalldrive(&GBdelete, {10, 50, 183, 17}, "Alle Laufwerke"),
      DCBdrive(&GBdelete, {30, 20, 163, 21}),
      BtnAnalyze(&GBdelete, {10, 76, 89, 26}, "Analysieren"),
      BtnDelete(&GBdelete, {104, 76, 89, 26}, "L\xC3\xB6schen"),
      BBtnstop(&GBdelete, {10, 76, 183, 26}, "Abbrechen", BK::kCancel),
      Btnoption(this, {8, 128, 99, 25}, "Optionen"),
      BBtnClose(this, {112, 128, 99, 25},
                "&Schlie\xC3\x9F"
                "en",
                BK::kClose),
      Sbmain(this, {150, 0}),
      Datei1("Datei"),
      Lschen1("L\xC3\xB6schen", kCommandDelete),
      Abbrechen1("Abbrechen", kCommandStop),
      N1("-"),
      Beenden1("Beenden", kCommandExit),
      Bearbeiten1("Bearbeiten"),
      Analysieren1("Analysieren", kCommandAnalyze),
      Sprache1("Sprache"),
      Deutsch1("Deutsch", kCommandGerman),
      Engish1("English", kCommandEnglish),
      N2(lang::kGreekName, kCommandGreek),
      Optionen1("Optionen", kCommandOptions),
      Anwendungen1("Anwendungen", kCommandApplications),
      Hilfe1("Hilfe"),
      Info1("Info", kCommandInfo),
      system_(system) {
  // Published before the start-up sequence runs, as the dialogs it may show refer to it.
  FrmMain = this;
  SetName("TFrmMain");
  SetCaption("Dustorix");
  SetClientSize({219, 194});
  SetBorder(Border::kSingle);
  SetMinimizeBox(true);
  SetPosition(Position::kDesktopCenter);
  BBtnstop.SetVisible(false);
  BuildMenu();
  FillDriveBox();
  // One of the two is always on: the drive in the box until the user chooses all drives.
  RBtndrive.SetChecked(true);
  DCBdrive.OnClick = [this] { DCBdriveClick(); };

  Btnoption.OnClick = [this] { BtnoptionClick(); };
  BtnDelete.OnClick = [this] { BtnDeleteClick(); };
  BtnAnalyze.OnClick = [this] { BtnAnalyzeClick(); };
  BBtnstop.OnClick = [this] { BBtnstopClick(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  App().OnMessage = [this](const ui::Message& message, bool& handled) {
    aeMainAppMessage(message, handled);
  };
  Realize();
  FormCreate();
}

TFrmMain::~TFrmMain() {
  App().OnMessage = nullptr;
  if (FrmMain == this) FrmMain = nullptr;
}

void TFrmMain::BuildMenu() {
  Mmmain.Add(Datei1);
  Datei1.Add(Lschen1);
  Datei1.Add(Abbrechen1);
  Datei1.Add(N1);
  Datei1.Add(Beenden1);
  Mmmain.Add(Bearbeiten1);
  Bearbeiten1.Add(Analysieren1);
  Bearbeiten1.Add(Sprache1);
  Sprache1.Add(Deutsch1);
  Sprache1.Add(Engish1);
  Sprache1.Add(N2);
  Bearbeiten1.Add(Optionen1);
  Bearbeiten1.Add(Anwendungen1);
  Mmmain.Add(Hilfe1);
  Hilfe1.Add(Info1);
  Abbrechen1.SetEnabled(false);

  Lschen1.OnClick = [this] { BtnDeleteClick(); };
  Analysieren1.OnClick = [this] { BtnAnalyzeClick(); };
  Abbrechen1.OnClick = [this] { BBtnstopClick(); };
  Beenden1.OnClick = [this] { Beenden1Click(); };
  Optionen1.OnClick = [this] { BtnoptionClick(); };
  Anwendungen1.OnClick = [this] { Anwendungen1Click(); };
  Info1.OnClick = [this] { Info1Click(); };
  Deutsch1.OnClick = [this] { Deutsch1Click(); };
  Engish1.OnClick = [this] { Engish1Click(); };
  N2.OnClick = [this] { N2Click(); };
  SetMenu(&Mmmain);
}

void TFrmMain::FillDriveBox() {
  const std::string current = system_.CurrentDirectory();
  const char currentLetter = current.empty() ? 'C' : static_cast<char>(current[0] & ~0x20);
  int firstFixed = -1;
  for (const platform::DriveInfo& drive : system_.Drives()) {
    std::string line{static_cast<char>(drive.letter | 0x20), ':'};
    if (!drive.label.empty()) line += " [" + drive.label + "]";
    DCBdrive.Add(std::move(line));
    driveLetters_.push_back(drive.letter);
    if (drive.letter == currentLetter) DCBdrive.SetItemIndex(DCBdrive.Count() - 1);
    if (firstFixed < 0 && drive.type == platform::DriveType::kFixed)
      firstFixed = DCBdrive.Count() - 1;
  }
  // Started from a network path: the first hard disk, so that the box never shows nothing.
  if (DCBdrive.ItemIndex() < 0) DCBdrive.SetItemIndex(std::max(firstFixed, 0));
}

char TFrmMain::DriveLetterAt(int index) const {
  return index >= 0 && index < static_cast<int>(driveLetters_.size())
             ? driveLetters_[static_cast<size_t>(index)]
             : '\0';
}

bool TFrmMain::IsAdministrator() {
  return system_.IsAdministrator();
}

void TFrmMain::FormCreate() {
  using settings::SettingsFile;
  UserIsAdmin = IsAdministrator();
  settings::LoadSettingsForUser(system_, UserIsAdmin, Settings);
  settings::LanguageChoice& record = Settings.LanguageRecord;
  if (!record.LanguageChosen) {
    // Set first, so the dialog is shown at most once however it is left.
    record.LanguageChosen = true;
    Settings.MarkChanged(SettingsFile::kWhichLang);
    auto dialog = std::make_unique<lang::TFrmlang>(App(), record.LanguageCode);
    dialog->ShowModal();
    SaveNow();
  }
  if (record.LanguageCode == "De") {
    Deutsch1.SetChecked(true);
  } else if (record.LanguageCode == "En") {
    Engish1.SetChecked(true);
  } else if (record.LanguageCode == "Gr") {
    N2.SetChecked(true);
  }
  MessageLanguageId = lang::MessageLanguageIdFor(record.LanguageCode);
  LoadLanguage();
}

void TFrmMain::FormClose(ui::CloseAction& action) {
  if (CleanRun.running) {
    // Stop the run first; it closes the window once it has unwound, and then the settings are
    // saved.
    CleanRun.stop = true;
    closeAfterRun_ = true;
    action = ui::CloseAction::kNone;
    // A review still open is left as without going on: nothing it lists is removed. Its file
    // list, open above it, goes first.
    if (clean::Frmmarkfile && clean::Frmmarkfile->Frmviewfiles.Showing()) {
      clean::Frmmarkfile->Frmviewfiles.Close();
    }
    if (clean::Frmmarkfile && clean::Frmmarkfile->Showing()) clean::Frmmarkfile->Close();
    return;
  }
  settings::SaveSettings(system_, Settings);
  Settings.FileEndingList.clear();
  Settings.ExceptionList.clear();
  Settings.ExceptionListLower.clear();
}

void TFrmMain::Beenden1Click() {
  Close();
}

void TFrmMain::Info1Click() {
  if (about::Frminfo) about::Frminfo->ShowAbout();
}

void TFrmMain::BtnoptionClick() {
  if (settings::Frmoption &&
      settings::Frmoption->Open(Settings, IsAdministrator(), MessageLanguageId)) {
    SaveNow();
  }
}

void TFrmMain::Anwendungen1Click() {
  if (settings::Frmapplications &&
      settings::Frmapplications->Open(Settings, system_, MessageLanguageId)) {
    SaveNow();
  }
}

void TFrmMain::DCBdriveClick() {
  RBtndrive.SetChecked(true);
}

void TFrmMain::SaveNow() {
  settings::SaveSettings(system_, Settings);
}

void TFrmMain::aeMainAppMessage(const ui::Message& message, bool& handled) {
  if (message.id != InstanceMessage) return;
  App().Restore();
  App().GetBackend().BringToFront(*this);
  handled = true;
}

void TFrmMain::LoadLanguage() {
  lang::ReadLanguageFile(system_, Settings.LanguageRecord.LanguageCode, LanguageTexts);
  using lang::Text;
  const lang::LanguageTexts& t = LanguageTexts;
  Datei1.SetCaption(t[Text::kMenuFile]);
  Lschen1.SetCaption(t[Text::kDelete]);
  Abbrechen1.SetCaption(t[Text::kCancel]);
  Beenden1.SetCaption(t[Text::kExit]);
  Bearbeiten1.SetCaption(t[Text::kMenuEdit]);
  Sprache1.SetCaption(t[Text::kMenuLanguage]);
  // Menu items that open a dialog say so.
  Optionen1.SetCaption(t[Text::kOptions] + kEllipsis);
  Anwendungen1.SetCaption(t[Text::kApplications] + kEllipsis);
  Hilfe1.SetCaption(t[Text::kMenuHelp]);
  Info1.SetCaption(t[Text::kAbout] + kEllipsis);
  GBdelete.SetCaption(t[Text::kDeleteGroup]);
  RBtnalldrive.SetCaption(t[Text::kAllDrives]);
  BtnDelete.SetCaption(t[Text::kDelete]);
  BtnAnalyze.SetCaption(t[Text::kAnalyze]);
  Analysieren1.SetCaption(t[Text::kAnalyze]);
  BBtnstop.SetCaption(t[Text::kCancel]);
  BBtnClose.SetCaption(t[Text::kClose]);
  Btnoption.SetCaption(t[Text::kOptions]);
}

void TFrmMain::ChooseLanguage(ui::MenuItem& item, const char* code) {
  for (ui::MenuItem* languageItem : {&Deutsch1, &Engish1, &N2}) {
    languageItem->SetChecked(languageItem == &item);
  }
  Settings.LanguageRecord.LanguageCode = code;
  Settings.MarkChanged(settings::SettingsFile::kWhichLang);
  MessageLanguageId = lang::MessageLanguageIdFor(code);
  LoadLanguage();
  if (settings::Frmoption) settings::Frmoption->ApplyOptionTexts();
  SaveNow();
}

void TFrmMain::Deutsch1Click() {
  ChooseLanguage(Deutsch1, "De");
}
void TFrmMain::Engish1Click() {
  ChooseLanguage(Engish1, "En");
}
void TFrmMain::N2Click() {
  ChooseLanguage(N2, "Gr");
}

}  // namespace app
