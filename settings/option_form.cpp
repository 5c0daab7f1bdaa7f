#include "settings/option_form.h"

#include <algorithm>

#include "clean/run_context.h"
#include "platform/ui/application.h"
#include "platform/wildcard.h"
#include "settings/inputbox_form.h"
#include "settings/list_file.h"
#include "settings/settings_files.h"

namespace settings {

TFrmoption* Frmoption = nullptr;

namespace {
using BK = ui::Button::ButtonKind;
constexpr int kBoxHeight = 17;
constexpr int kRowStep = 19;
constexpr int kColumnLeft[2] = {10, 222};
constexpr const char* kAdvancedCaption = "Weitere Optionen";
// The refusal message boxes: MB_OK with MB_ICONEXCLAMATION.
constexpr unsigned kRefusalStyle = 0x30;

// The advanced check boxes stand in two columns of six, read top to bottom.
ui::Rect AdvancedBox(int row) {
  return {kColumnLeft[row / 6], 20 + (row % 6) * kRowStep, 204, kBoxHeight};
}

bool HoldsFolderSeparator(std::string_view text) {
  return text.find_first_of("\\/:") != std::string_view::npos;
}

// The extension a protected pattern such as "*.exe" stands for; empty for one like "*.*".
std::string_view ProtectedType(std::string_view pattern) {
  if (!pattern.starts_with("*.")) return {};
  const std::string_view type = pattern.substr(2);
  return type.find_first_of("*?<>\"") == std::string_view::npos ? type : std::string_view{};
}

// A name the pattern's part before its last dot would take: every wildcard stands for one "x".
std::string StemExample(std::string_view pattern) {
  std::string stem;
  for (char c : pattern.substr(0, pattern.rfind('.'))) {
    if (c == '*' || c == '?' || c == '<' || c == '>')
      stem += 'x';
    else if (c != '"')
      stem += c;
  }
  return stem;
}

// Whether the pattern takes some file of a protected type. Probing with "x.<type>" catches the
// broad extensions (*.e*, *.?ll, x.*); probing with the pattern's own stem catches narrow ones
// that still end in a protected type (setup*.exe).
bool MatchesProtectedType(std::string_view text,
                          const std::vector<std::string>& protectedPatterns) {
  const platform::WildcardPattern pattern(text);
  const std::string stem = StemExample(text);
  for (const std::string& guarded : protectedPatterns) {
    const std::string_view type = ProtectedType(guarded);
    if (type.empty()) continue;
    const std::string suffix = "." + std::string(type);
    if (pattern.Matches("x" + suffix) || pattern.Matches(stem + suffix)) return true;
  }
  return false;
}

int AddFitted(ui::ListBox& list, const std::string& text) {
  const int index = list.Add(text);
  list.SetHorizontalExtent(clean::FitScrollWidth(list.TextWidth(text), list));
  return index;
}

void Fill(ui::ListBox& list, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries)
    AddFitted(list, entry);
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

bool IsValidPattern(std::string_view text) {
  return text.size() >= 3 && text.substr(1, text.size() - 2).find('.') != std::string_view::npos;
}

bool IsAcceptablePattern(std::string_view text, const std::vector<std::string>& protectedPatterns) {
  if (!IsValidPattern(text) || HoldsFolderSeparator(text)) return false;
  const std::string lower = LowerAsciiLetters(text);
  for (const std::string& guarded : protectedPatterns) {
    if (lower == LowerAsciiLetters(guarded)) return false;
  }
  return !MatchesProtectedType(text, protectedPatterns);
}

bool IsAcceptableException(std::string_view text) {
  // A leading dot is allowed: ".gitkeep" is a whole file name, and the default list holds such.
  return text.size() >= 2 && text.substr(0, text.size() - 1).find('.') != std::string_view::npos &&
         !HoldsFolderSeparator(text);
}

TFrmoption::TFrmoption(ui::Application& app, const lang::LanguageTexts& texts)
    : ui::Form(app),
      GBfileend(this, {8, 6, 214, 162}, "Dateiendungen"),
      LBfileend(&GBfileend, {8, 18, 198, 106}),
      Btnaddfileend(&GBfileend, {8, 130, 95, 25}, "Hinzuf\xC3\xBCgen"),
      Btndeletefileend(&GBfileend, {111, 130, 95, 25}, "Entfernen"),
      GBexception(this, {230, 6, 214, 162}, "Ausnahmen"),
      LBexception(&GBexception, {8, 18, 198, 106}),
      Btnaddexception(&GBexception, {8, 130, 95, 25}, "Hinzuf\xC3\xBCgen"),
      Btndeleteexception(&GBexception, {111, 130, 95, 25}, "Entfernen"),
      CBsecuritypaper(this, {10, 176, 434, kBoxHeight}, "In den Papierkorb verschieben"),
      CBquestion(this, {10, 196, 434, kBoxHeight}, "Nachfragen bevor gel\xC3\xB6scht wird"),
      GBadvancedoption(this, {8, 220, 436, 140}, kAdvancedCaption),
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
      BBtnok(this, {188, 370, 75, 25}, "OK", BK::kOk),
      BBtnabort(this, {269, 370, 75, 25}, "Abbrechen", BK::kAbort),
      Btnstandard(this, {350, 370, 94, 25}, "Standard"),
      SBoption(this, {50}),
      texts_(texts) {
  SetName("TFrmoption");
  SetCaption("Optionen");
  SetClientSize({452, 440});
  SetBorder(Border::kDialog);
  SetPosition(Position::kMainFormCenter);
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
  CBpaper.OnClick = [this] { CBpaperClick(); };
  CBsecuritypaper.OnClick = [this] { CBsecuritypaperClick(); };
  OnClose = [this](ui::CloseAction&) { FormClose(); };
  FormCreate();
  Realize();
}

TFrmoption::~TFrmoption() {
  App().OnHint = nullptr;
}

void TFrmoption::Open(Settings& target, bool isAdministrator, std::uint16_t messageLanguageId) {
  target_ = &target;
  isAdministrator_ = isAdministrator;
  messageLanguageId_ = messageLanguageId;
  Fill(LBfileend, target.FileEndingList);
  Fill(LBexception, target.ExceptionList);
  // One by one, so that the click rules run: with switches 2 and 12 both on, 12 wins.
  for (size_t i = 0; i < CheckBoxes.size(); ++i)
    CheckBoxes[i]->SetChecked(target.AdvancedOptions[i]);
  LockAdministratorSwitches();
  ShowModal();
  target_ = nullptr;
}

void TFrmoption::LockAdministratorSwitches() {
  for (int i : {kOldUpdateFile, kSystemLog, kDll}) {
    CheckBoxes[i]->SetEnabled(isAdministrator_);
    if (!isAdministrator_) CheckBoxes[i]->SetChecked(false);
  }
}

std::string TFrmoption::AskEntry(size_t captionIndex, size_t promptIndex) {
  return ShowInputBox(*FrmInputBox, texts_[captionIndex], texts_[promptIndex], texts_[38],
                      texts_[2]);
}

void TFrmoption::AddHighlighted(ui::ListBox& list, const std::string& text) {
  const int index = AddFitted(list, text);
  list.SelectAll(false);
  list.SetSelected(index, true);
  list.SetItemIndex(index);
}

void TFrmoption::Refuse(size_t messageIndex) {
  App().GetBackend().MessageBox(this, texts_[messageIndex], texts_[80], kRefusalStyle,
                                messageLanguageId_);
}

void TFrmoption::BtnaddfileendClick() {
  const std::string text = AskEntry(74, 75);
  if (text.empty()) return;
  if (IsAcceptablePattern(text, target_->ProtectedPatterns))
    AddHighlighted(LBfileend, text);
  else
    Refuse(72);
}

void TFrmoption::BtnaddexceptionClick() {
  const std::string text = AskEntry(76, 77);
  if (text.empty()) return;
  if (IsAcceptableException(text))
    AddHighlighted(LBexception, text);
  else
    Refuse(73);
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
  // Confirmed settings are saved even where a file could not be read at start.
  target_->MarkChanged(SettingsFile::kFileFormat);
  target_->MarkChanged(SettingsFile::kException);
  target_->MarkChanged(SettingsFile::kAdvancedOption);
}

void TFrmoption::FormClose() {
  Empty(LBfileend);
  Empty(LBexception);
}

void TFrmoption::BtnstandardClick() {
  Empty(LBexception);
  Empty(LBfileend);
  if (system_) {
    Fill(LBexception, ReadListFile(*system_, kStandardExceptionPath));
    Fill(LBfileend, ReadListFile(*system_, kStandardFileFormatPath));
  }
  for (int i = kTemp; i <= kExecute; ++i)
    CheckBoxes[i]->SetChecked(true);
  LockAdministratorSwitches();
  CBquestion.SetChecked(true);
  CBnullfile.SetChecked(false);
  CBfavorite.SetChecked(false);
}

void TFrmoption::CBpaperClick() {
  if (CBpaper.Checked()) CBsecuritypaper.SetChecked(false);
}

void TFrmoption::CBsecuritypaperClick() {
  if (CBsecuritypaper.Checked()) CBpaper.SetChecked(false);
}

void TFrmoption::FormCreate() {
  App().OnHint = [this] { ShowOptionHint(); };
  CheckBoxes = {&CBtemp,     &CBRecent,  &CBpaper,         &CBtempIEfile,    &CBcookie,
                &CBfavorite, &CBevent,   &CBnullfile,      &CBoldupdatefile, &CBsystemlog,
                &CBdll,      &CBExecute, &CBsecuritypaper, &CBquestion};
  ApplyOptionTexts();
}

void TFrmoption::ApplyOptionTexts() {
  const lang::LanguageTexts& t = texts_;
  SetCaption(t[6]);
  GBfileend.SetCaption(t[12]);
  Btnaddfileend.SetCaption(t[13]);
  Btndeletefileend.SetCaption(t[14]);
  GBexception.SetCaption(t[15]);
  Btnaddexception.SetCaption(t[13]);
  Btndeleteexception.SetCaption(t[14]);
  for (size_t k = 0; k <= kDll; ++k)
    CheckBoxes[k]->SetCaption(t[16 + k]);
  for (size_t k = 0; k <= kDll; ++k)
    CheckBoxes[k]->SetHint(t[27 + k]);
  BBtnok.SetCaption(t[38]);
  BBtnabort.SetCaption(t[39]);
  Btnstandard.SetCaption(t[40]);
  LBfileend.SetHint(t[41]);
  LBexception.SetHint(t[42]);
  CBExecute.SetCaption(t[70]);
  CBExecute.SetHint(t[71]);
  CBsecuritypaper.SetCaption(t[78]);
  CBsecuritypaper.SetHint(t[79]);
  CBquestion.SetCaption(t[81]);
  CBquestion.SetHint(t[82]);
  BBtnok.SetHint(t[90]);
  BBtnabort.SetHint(t[91]);
  Btnstandard.SetHint(t[92]);
  // Older language files end before this line: the box keeps its own caption then.
  GBadvancedoption.SetCaption(t[93].empty() ? kAdvancedCaption : t[93]);
}

void TFrmoption::ShowOptionHint() {
  SBoption.SetPanelText(0, "  " + App().Hint());
}

}  // namespace settings
