#include "settings/option_form.h"

#include <algorithm>
#include <span>

#include "lang/quantities.h"
#include "platform/ui/application.h"
#include "settings/exceptions.h"
#include "settings/inputbox_form.h"
#include "settings/list_file.h"
#include "settings/patterns.h"
#include "settings/settings_files.h"

namespace settings {

TFrmoption* Frmoption = nullptr;

namespace {
using BK = ui::Button::ButtonKind;
constexpr int kBoxHeight = 17;
constexpr int kRowStep = 19;
constexpr int kColumnLeft[2] = {10, 246};
constexpr int kRowsPerColumn = 9;
// What the two extra rows of check boxes add to the dialog's height.
constexpr int kGrowth = 2 * kRowStep;
// The group of the age rules below the check boxes, and what it adds to the height.
constexpr int kAgesTop = 220 + 159 + kGrowth + 4;
constexpr int kAgesHeight = 97;
constexpr int kAgesGrowth = kAgesHeight + 6;
constexpr int kButtonTop = 389 + kGrowth + kAgesGrowth;
// The ages offered, as Windows' Storage Sense offers them; one the file set otherwise is added.
constexpr int kTempKeepOffered[] = {0, 24, 7 * 24};
constexpr int kDownloadsOffered[] = {0, 14, 30, 60};
constexpr int kBinDaysOffered[] = {0, 1, 14, 30, 60};
constexpr const char* kAdvancedCaption = "Weitere Optionen";
// The refusal message boxes: MB_OK with MB_ICONEXCLAMATION.
constexpr unsigned kRefusalStyle = 0x30;
// The questions: MB_YESNO with MB_ICONQUESTION, or with MB_ICONEXCLAMATION and No as the default
// button where Yes removes a user's documents.
constexpr unsigned kQuestionStyle = 0x24;
constexpr unsigned kWarningQuestionStyle = 0x134;
constexpr int kAnsweredYes = 6;  // IDYES

// The caption and hint of each switch's check box, by switch.
struct SwitchTexts {
  lang::Text caption;
  lang::Text hint;
};
constexpr std::array<SwitchTexts, kCheckBoxSwitchCount> kSwitchTexts = {{
    {lang::Text::kTempFoldersCaption, lang::Text::kTempFoldersHint},
    {lang::Text::kRecentDocumentsCaption, lang::Text::kRecentDocumentsHint},
    {lang::Text::kEmptyRecycleBinCaption, lang::Text::kEmptyRecycleBinHint},
    {lang::Text::kTempInternetFilesCaption, lang::Text::kTempInternetFilesHint},
    {lang::Text::kCookiesCaption, lang::Text::kCookiesHint},
    {lang::Text::kFavouritesCaption, lang::Text::kFavouritesHint},
    {lang::Text::kHistoryCaption, lang::Text::kHistoryHint},
    {lang::Text::kZeroByteFilesCaption, lang::Text::kZeroByteFilesHint},
    {lang::Text::kOldUpdateFilesCaption, lang::Text::kOldUpdateFilesHint},
    {lang::Text::kSystemLogCaption, lang::Text::kSystemLogHint},
    {lang::Text::kUnusedDllsCaption, lang::Text::kUnusedDllsHint},
    {lang::Text::kRunListCaption, lang::Text::kRunListHint},
    {lang::Text::kRecycleFoundCaption, lang::Text::kRecycleFoundHint},
    {lang::Text::kReviewFirstCaption, lang::Text::kReviewFirstHint},
    {lang::Text::kErrorReportsCaption, lang::Text::kErrorReportsHint},
    {lang::Text::kShaderCachesCaption, lang::Text::kShaderCachesHint},
    {lang::Text::kThumbnailsCaption, lang::Text::kThumbnailsHint},
    {lang::Text::kDeliveryOptimizationCaption, lang::Text::kDeliveryOptimizationHint},
    {lang::Text::kUpgradeLogsCaption, lang::Text::kUpgradeLogsHint},
}};

// The advanced check boxes stand in two columns of seven, read top to bottom.
ui::Rect AdvancedBox(int row) {
  return {kColumnLeft[row / kRowsPerColumn], 20 + (row % kRowsPerColumn) * kRowStep, 228,
          kBoxHeight};
}

void Fill(ui::ListBox& list, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries)
    ui::AddFitted(list, entry);
}

// An emptied list has nothing to scroll to.
void Empty(ui::ListBox& list) {
  list.Clear();
  list.SetHorizontalExtent(0);
}

std::vector<std::string> Entries(const ui::ListBox& list) {
  std::vector<std::string> entries;
  entries.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i)
    entries.push_back(list.Item(i));
  return entries;
}

void DeleteSelected(ui::ListBox& list) {
  list.SetHorizontalExtent(0);
  for (int i = list.Count() - 1; i >= 0; --i) {
    if (list.Selected(i)) list.Delete(i);
  }
  int extent = 0;
  for (int i = 0; i < list.Count(); ++i)
    extent = std::max(extent, list.TextWidth(list.Item(i)));
  list.SetHorizontalExtent(extent);
}

}  // namespace

TFrmoption::TFrmoption(ui::Application& app, const lang::LanguageTexts& texts)
    : ui::Form(app),
      GBfileend(this, {8, 6, 238, 162}, "Dateiendungen"),
      LBfileend(&GBfileend, {8, 18, 222, 106}),
      Btnaddfileend(&GBfileend, {8, 130, 107, 25}, "Hinzuf\xC3\xBCgen"),
      Btndeletefileend(&GBfileend, {123, 130, 107, 25}, "Entfernen"),
      GBexception(this, {254, 6, 238, 162}, "Ausnahmen"),
      LBexception(&GBexception, {8, 18, 222, 106}),
      Btnaddexception(&GBexception, {8, 130, 107, 25}, "Hinzuf\xC3\xBCgen"),
      Btndeleteexception(&GBexception, {123, 130, 107, 25}, "Entfernen"),
      CBsecuritypaper(this, {10, 176, 482, kBoxHeight}, "In den Papierkorb verschieben"),
      CBquestion(this, {10, 196, 482, kBoxHeight}, "Nachfragen bevor gel\xC3\xB6scht wird"),
      GBadvancedoption(this, {8, 220, 484, 159 + kGrowth}, kAdvancedCaption),
      CBtemp(&GBadvancedoption, AdvancedBox(0), "Tempverzeichnis"),
      CBRecent(&GBadvancedoption, AdvancedBox(1), "Recentordner"),
      CBpaper(&GBadvancedoption, AdvancedBox(2), "Papierkorb leeren"),
      CBtempIEfile(&GBadvancedoption, AdvancedBox(3), "temp. Internetdateien"),
      CBcookie(&GBadvancedoption, AdvancedBox(4), "Cookies"),
      CBfavorite(&GBadvancedoption, AdvancedBox(5), "Favoriten"),
      CBevent(&GBadvancedoption, AdvancedBox(6), "Verlauf leeren"),
      CBnullfile(&GBadvancedoption, AdvancedBox(7), "0-Byte-Dateien"),
      CBExecute(&GBadvancedoption, AdvancedBox(8), "Liste Ausf\xC3\xBChren"),
      CBoldupdatefile(&GBadvancedoption, AdvancedBox(9), "alte Update-Dateien"),
      CBsystemlog(&GBadvancedoption, AdvancedBox(10), "Systemprotokoll"),
      CBdll(&GBadvancedoption, AdvancedBox(11), "unn\xC3\xBCtze DLL"),
      CBerrorreport(&GBadvancedoption, AdvancedBox(12), "Fehlerberichte und Absturzabbilder"),
      CBshadercache(&GBadvancedoption, AdvancedBox(13), "Shader-Caches"),
      CBthumbnails(&GBadvancedoption, AdvancedBox(14), "Miniaturansichten"),
      CBdeliveryoptimization(&GBadvancedoption, AdvancedBox(15),
                             "\xC3\x9C"
                             "bermittlungsoptimierung"),
      CBupgradelogs(&GBadvancedoption, AdvancedBox(16), "Windows-Upgrade-Protokolle"),
      GBages(this, {8, kAgesTop, 484, kAgesHeight}, "Nach Alter"),
      LBLtempkeep(&GBages, {10, 23, 334, 17}),
      DCBtempkeep(&GBages, {350, 19, 124, 21}),
      LBLdownloads(&GBages, {10, 48, 334, 17}),
      DCBdownloads(&GBages, {350, 44, 124, 21}),
      LBLbindays(&GBages, {10, 73, 334, 17}),
      DCBbindays(&GBages, {350, 69, 124, 21}),
      BBtnok(this, {236, kButtonTop, 75, 25}, "OK", BK::kOk),
      BBtnabort(this, {317, kButtonTop, 75, 25}, "Abbrechen", BK::kAbort),
      Btnstandard(this, {398, kButtonTop, 94, 25}, "Standard"),
      Btnapplications(this, {8, kButtonTop, 140, 25}, "Anwendungen\xE2\x80\xA6"),
      SBoption(this, {50}),
      texts_(texts) {
  SetName("TFrmoption");
  SetCaption("Optionen");
  SetClientSize({500, 459 + kGrowth + kAgesGrowth});
  SetBorder(Border::kDialog);
  SetPosition(Position::kMainFormCenter);
  // Escape leaves as "Abbrechen" does: nothing is taken over.
  BBtnabort.SetCancel(true);
  for (ui::ListBox* list : {&LBfileend, &LBexception}) {
    list->SetMultiSelect(true);
    list->SetSorted(true);
  }
  Btnaddfileend.OnClick = [this] { BtnaddfileendClick(); };
  Btndeletefileend.OnClick = [this] { BtndeletefileendClick(); };
  Btnaddexception.OnClick = [this] { BtnaddexceptionClick(); };
  Btndeleteexception.OnClick = [this] { BtndeleteexceptionClick(); };
  BBtnok.OnClick = [this] { BBtnokClick(); };
  Btnstandard.OnClick = [this] { BtnstandardClick(); };
  Btnapplications.OnClick = [this] {
    if (OnApplications) OnApplications();
  };
  CBpaper.OnClick = [this] { CBpaperClick(); };
  CBsecuritypaper.OnClick = [this] { CBsecuritypaperClick(); };
  OnClose = [this](ui::CloseAction&) { FormClose(); };
  FormCreate();
  Realize();
}

TFrmoption::~TFrmoption() {
  App().OnHint = nullptr;
}

bool TFrmoption::Open(Settings& target, bool isAdministrator, std::uint16_t messageLanguageId) {
  target_ = &target;
  isAdministrator_ = isAdministrator;
  messageLanguageId_ = messageLanguageId;
  Fill(LBfileend, target.FileEndingList);
  Fill(LBexception, target.ExceptionList);
  // One by one, so that the click rules run: with switches 2 and 12 both on, 12 wins.
  for (size_t i = 0; i < CheckBoxes.size(); ++i)
    CheckBoxes[i]->SetChecked(target.AdvancedOptions[i]);
  LockAdministratorSwitches();
  ShowAgeChoices(target.Ages.TempKeepHours, target.Ages.DownloadsDays,
                 target.AdvancedOptions[kDownloads], target.Ages.RecycleBinDays);
  confirmed_ = false;
  ShowModal();
  target_ = nullptr;
  return confirmed_;
}

void TFrmoption::LockAdministratorSwitches() {
  for (int i : {kOldUpdateFiles, kSystemLog, kUnusedDlls, kDeliveryOptimization, kUpgradeLogs}) {
    CheckBoxes[i]->SetEnabled(isAdministrator_);
    if (!isAdministrator_) CheckBoxes[i]->SetChecked(false);
  }
}

std::string TFrmoption::AskEntry(lang::Text caption, lang::Text prompt) {
  // Windows drops the blanks a file name ends in: an entry that kept them would never match.
  return WithoutTrailingBlanks(ShowInputBox(*FrmInputBox, texts_[caption], texts_[prompt],
                                            texts_[lang::Text::kOk], texts_[lang::Text::kCancel]));
}

void TFrmoption::AddHighlighted(ui::ListBox& list, const std::string& text) {
  const int index = ui::AddFitted(list, text);
  list.SelectAll(false);
  list.SetSelected(index, true);
  list.SetItemIndex(index);
}

void TFrmoption::Refuse(lang::Text message) {
  App().GetBackend().MessageBox(this, texts_[message], texts_[lang::Text::kInvalidEntry],
                                kRefusalStyle, messageLanguageId_);
}

void TFrmoption::ShowAgeChoices(int tempKeepHours, int downloadsDays, bool downloadsOn,
                                int binDays) {
  const auto fill = [](ui::ComboBox& box, std::vector<int>& choices, std::span<const int> offered,
                       int current, int chosen, auto text) {
    choices.assign(offered.begin(), offered.end());
    if (std::find(choices.begin(), choices.end(), current) == choices.end()) {
      choices.insert(std::upper_bound(choices.begin(), choices.end(), current), current);
    }
    box.Clear();
    for (const int choice : choices)
      box.Add(text(choice));
    box.SetItemIndex(
        static_cast<int>(std::find(choices.begin(), choices.end(), chosen) - choices.begin()));
  };
  const lang::LanguageTexts& t = texts_;
  fill(DCBtempkeep, tempKeepChoices_, kTempKeepOffered, tempKeepHours, tempKeepHours,
       [&](int hours) {
         if (hours == 0) return t[lang::Text::kKeepNone];
         if (hours > 24 && hours % 24 == 0)
           return lang::Filled(t[lang::Text::kDaysText], {std::to_string(hours / 24)});
         return lang::Filled(t[lang::Text::kHoursText], {std::to_string(hours)});
       });
  fill(DCBdownloads, downloadsChoices_, kDownloadsOffered, downloadsDays,
       downloadsOn ? downloadsDays : 0, [&](int days) {
         if (days == 0) return t[lang::Text::kNever];
         return lang::Filled(t[lang::Text::kDaysText], {std::to_string(days)});
       });
  fill(DCBbindays, binDaysChoices_, kBinDaysOffered, binDays, binDays, [&](int days) {
    if (days == 0) return t[lang::Text::kBinAllItems];
    return lang::Filled(t[lang::Text::kBinOlderThan], {std::to_string(days)});
  });
}

bool TFrmoption::Agrees(const std::string& question, lang::Text caption, unsigned style) {
  return App().GetBackend().MessageBox(this, question, lang::WithoutAccessKey(texts_[caption]),
                                       style, messageLanguageId_) == kAnsweredYes;
}

void TFrmoption::BtnaddfileendClick() {
  const std::string text = AskEntry(lang::Text::kNewPatternCaption, lang::Text::kNewPatternPrompt);
  if (text.empty()) return;
  if (!IsAcceptablePattern(text, target_->ProtectedPatterns)) {
    Refuse(lang::Text::kBadPattern);
    return;
  }
  // Documents may be junk to someone, but every one of them on every drive would go.
  if (const std::optional<std::string> document = DocumentTakenBy(text)) {
    const std::string question =
        lang::Filled(texts_[lang::Text::kDocumentPatternQuestion], {text, *document});
    if (!Agrees(question, lang::Text::kNewPatternCaption, kWarningQuestionStyle)) return;
  }
  AddHighlighted(LBfileend, text);
}

void TFrmoption::BtnaddexceptionClick() {
  const std::string text =
      AskEntry(lang::Text::kNewExceptionCaption, lang::Text::kNewExceptionPrompt);
  if (text.empty()) return;
  if (IsAcceptableException(text))
    AddHighlighted(LBexception, text);
  else
    Refuse(lang::Text::kBadException);
}

void TFrmoption::BtndeletefileendClick() {
  DeleteSelected(LBfileend);
}

void TFrmoption::BtndeleteexceptionClick() {
  DeleteSelected(LBexception);
}

void TFrmoption::BBtnokClick() {
  target_->FileEndingList = Entries(LBfileend);
  target_->ExceptionList = Entries(LBexception);
  target_->ExceptionListLower = ExceptionListLowerOf(target_->ExceptionList);
  for (size_t i = 0; i < CheckBoxes.size(); ++i)
    target_->AdvancedOptions[i] = CheckBoxes[i]->Checked();
  target_->Ages.TempKeepHours = tempKeepChoices_[static_cast<size_t>(DCBtempkeep.ItemIndex())];
  // "Never" switches the Downloads clean-up off and keeps the days it had.
  const int downloadsDays = downloadsChoices_[static_cast<size_t>(DCBdownloads.ItemIndex())];
  target_->AdvancedOptions[kDownloads] = downloadsDays > 0;
  if (downloadsDays > 0) target_->Ages.DownloadsDays = downloadsDays;
  target_->Ages.RecycleBinDays = binDaysChoices_[static_cast<size_t>(DCBbindays.ItemIndex())];
  // Confirmed settings are saved even where a file could not be read at start; the age rules'
  // lines that were no rule are then gone.
  target_->MarkChanged(SettingsFile::kFileFormat);
  target_->MarkChanged(SettingsFile::kException);
  target_->MarkChanged(SettingsFile::kAdvancedOption);
  target_->MarkChanged(SettingsFile::kAgeRules);
  target_->AgeRuleBadLines.clear();
  confirmed_ = true;
}

void TFrmoption::FormClose() {
  Empty(LBfileend);
  Empty(LBexception);
}

void TFrmoption::BtnstandardClick() {
  if (!Agrees(texts_[lang::Text::kStandardQuestion], lang::Text::kStandard, kQuestionStyle)) return;
  Empty(LBexception);
  Empty(LBfileend);
  if (system_) {
    Fill(LBexception, ReadListFile(*system_, kStandardExceptionPath));
    Fill(LBfileend, ReadListFile(*system_, kStandardFileFormatPath));
  }
  for (int i = kTempFolders; i <= kRunList; ++i)
    CheckBoxes[i]->SetChecked(true);
  LockAdministratorSwitches();
  CBquestion.SetChecked(true);
  CBnullfile.SetChecked(false);
  CBfavorite.SetChecked(false);
  CBerrorreport.SetChecked(true);
  // A cleared shader cache makes games stutter while it is rebuilt: only on the user's wish.
  CBshadercache.SetChecked(false);
  // The user's own downloads go only on the user's wish.
  ShowAgeChoices(kDefaultTempKeepHours,
                 target_ ? target_->Ages.DownloadsDays : kDefaultDownloadsDays, false, 0);
}

void TFrmoption::CBpaperClick() {
  if (CBpaper.Checked()) CBsecuritypaper.SetChecked(false);
}

void TFrmoption::CBsecuritypaperClick() {
  if (CBsecuritypaper.Checked()) CBpaper.SetChecked(false);
}

void TFrmoption::FormCreate() {
  App().OnHint = [this] { ShowOptionHint(); };
  CheckBoxes = {&CBtemp,          &CBRecent,     &CBpaper,
                &CBtempIEfile,    &CBcookie,     &CBfavorite,
                &CBevent,         &CBnullfile,   &CBoldupdatefile,
                &CBsystemlog,     &CBdll,        &CBExecute,
                &CBsecuritypaper, &CBquestion,   &CBerrorreport,
                &CBshadercache,   &CBthumbnails, &CBdeliveryoptimization,
                &CBupgradelogs};
  ApplyOptionTexts();
}

void TFrmoption::ApplyOptionTexts() {
  using lang::Text;
  const lang::LanguageTexts& t = texts_;
  SetCaption(lang::WithoutAccessKey(t[Text::kOptions]));
  GBfileend.SetCaption(t[Text::kPatternsGroup]);
  Btnaddfileend.SetCaption(t[Text::kAdd]);
  Btndeletefileend.SetCaption(t[Text::kRemove]);
  GBexception.SetCaption(t[Text::kExceptionsGroup]);
  Btnaddexception.SetCaption(t[Text::kAdd]);
  Btndeleteexception.SetCaption(t[Text::kRemove]);
  GBadvancedoption.SetCaption(t[Text::kMoreOptionsGroup]);
  for (std::size_t i = 0; i < CheckBoxes.size(); ++i) {
    CheckBoxes[i]->SetCaption(t[kSwitchTexts[i].caption]);
    CheckBoxes[i]->SetHint(t[kSwitchTexts[i].hint]);
  }
  GBages.SetCaption(t[Text::kAgesGroup]);
  LBLtempkeep.SetCaption(t[Text::kTempKeepLabel]);
  LBLdownloads.SetCaption(t[Text::kDownloadsLabel]);
  LBLtempkeep.SetHint(t[Text::kTempKeepHint]);
  DCBtempkeep.SetHint(t[Text::kTempKeepHint]);
  LBLdownloads.SetHint(t[Text::kDownloadsHint]);
  DCBdownloads.SetHint(t[Text::kDownloadsHint]);
  LBLbindays.SetCaption(t[Text::kBinDaysLabel]);
  LBLbindays.SetHint(t[Text::kBinDaysHint]);
  DCBbindays.SetHint(t[Text::kBinDaysHint]);
  BBtnok.SetCaption(t[Text::kOk]);
  BBtnabort.SetCaption(t[Text::kDiscard]);
  Btnstandard.SetCaption(t[Text::kStandard]);
  Btnapplications.SetCaption(t[Text::kApplications] + "\xE2\x80\xA6");
  Btnapplications.SetHint(t[Text::kApplicationsHint]);
  LBfileend.SetHint(t[Text::kPatternsHint]);
  LBexception.SetHint(t[Text::kExceptionsHint]);
  BBtnok.SetHint(t[Text::kOkHint]);
  BBtnabort.SetHint(t[Text::kDiscardHint]);
  Btnstandard.SetHint(t[Text::kStandardHint]);
}

void TFrmoption::ShowOptionHint() {
  SBoption.SetPanelText(0, "  " + App().Hint());
}

}  // namespace settings
