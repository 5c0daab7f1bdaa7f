#include "settings/applications_form.h"

#include <algorithm>
#include <unordered_set>

#include "cleaners/detection.h"
#include "cleaners/places.h"
#include "lang/quantities.h"
#include "platform/ui/application.h"

namespace settings {

TFrmapplications* Frmapplications = nullptr;

namespace {
using BK = ui::Button::ButtonKind;
constexpr int kListWidth = 404;
constexpr int kSearchTop = 8;
// MB_YESNO with MB_ICONEXCLAMATION and No as the default button: a warned entry may take what
// the user would miss.
constexpr unsigned kWarningQuestionStyle = 0x134;
constexpr int kAnsweredYes = 6;  // IDYES
}  // namespace

TFrmapplications::TFrmapplications(ui::Application& app, const lang::LanguageTexts& texts)
    : ui::Form(app),
      Lblsearch(this, {8, kSearchTop + 4, 60, 13}, "&Suchen:"),
      Edsearch(this, {72, kSearchTop, kListWidth - 64, 21}),
      LVentries(this, {8, 37, kListWidth, 300}, {{"Eintrag", kListWidth - 24}}),
      Lblcount(this, {8, 345, kListWidth, 13}),
      BBtnok(this, {256, 366, 75, 25}, "OK", BK::kOk),
      BBtnabort(this, {337, 366, 75, 25}, "Abbrechen", BK::kAbort),
      texts_(texts) {
  SetName("TFrmapplications");
  SetCaption("Anwendungen");
  SetClientSize({kListWidth + 16, 399});
  SetBorder(Border::kDialog);
  SetPosition(Position::kMainFormCenter);
  BBtnabort.SetCancel(true);
  LVentries.SetCheckBoxes(true);
  LVentries.CellText = [this](int row, int) { return rows_[static_cast<std::size_t>(row)].text; };
  LVentries.RowChecked = [this](int row) {
    const Row& shown = rows_[static_cast<std::size_t>(row)];
    return !shown.heading && ticked_[shown.entry];
  };
  LVentries.KindOfRow = [this](int row) {
    return rows_[static_cast<std::size_t>(row)].heading ? ui::ListView::RowKind::kHeading
                                                        : ui::ListView::RowKind::kNormal;
  };
  LVentries.OnCheck = [this](const std::vector<int>& rows, bool checked) {
    LVentriesCheck(rows, checked);
  };
  Edsearch.OnChange = [this] { EdsearchChange(); };
  BBtnok.OnClick = [this] { BBtnokClick(); };
  Realize();
}

bool TFrmapplications::Open(Settings& target, platform::System& system,
                            std::uint16_t messageLanguageId) {
  target_ = &target;
  messageLanguageId_ = messageLanguageId;
  catalog_ = std::make_unique<cleaners::Catalog>(cleaners::Catalog::Load(system));
  const cleaners::Places places(system);
  cleaners::Detector detector(system, places);
  applying_.clear();
  for (const cleaners::Entry& entry : catalog_->Entries()) {
    if (detector.Applies(entry)) applying_.push_back(&entry);
  }
  // Sections and names as Windows sorts names: letter case aside.
  std::stable_sort(applying_.begin(), applying_.end(),
                   [](const cleaners::Entry* a, const cleaners::Entry* b) {
                     const std::string groupA = cleaners::FoldedText(cleaners::Group(*a));
                     const std::string groupB = cleaners::FoldedText(cleaners::Group(*b));
                     if (groupA != groupB) return groupA < groupB;
                     return cleaners::FoldedText(a->name) < cleaners::FoldedText(b->name);
                   });
  std::unordered_set<std::string> chosen;
  for (const std::string& name : target.CleanerList)
    chosen.insert(cleaners::FoldedText(name));
  ticked_.assign(applying_.size(), false);
  for (std::size_t i = 0; i < applying_.size(); ++i)
    ticked_[i] = chosen.contains(cleaners::FoldedText(applying_[i]->name));
  Edsearch.SetText({});
  ApplyTexts();
  Fill();
  const bool confirmed = ShowModal() == ui::ModalResult::kOk;
  target_ = nullptr;
  rows_.clear();
  LVentries.SetRowCount(0);
  applying_.clear();
  catalog_.reset();
  return confirmed;
}

void TFrmapplications::ApplyTexts() {
  using lang::Text;
  const lang::LanguageTexts& t = texts_;
  SetCaption(lang::WithoutAccessKey(t[Text::kApplications]));
  Lblsearch.SetCaption(t[Text::kApplicationsSearch]);
  // The search box begins where its caption ends, in every language.
  // The label is given a quarter more than its caption takes: fonts differ a little.
  const ui::Rect label = Lblsearch.Bounds();
  const int width =
      Lblsearch.TextWidth(lang::WithoutAccessKey(t[Text::kApplicationsSearch])) * 5 / 4 + 4;
  Lblsearch.SetWidth(width);
  const int left = label.left + width + 4;
  Edsearch.SetLeft(left);
  Edsearch.SetWidth(LVentries.Bounds().left + LVentries.Bounds().width - left);
  LVentries.SetColumnCaption(0, t[Text::kApplicationsEntryColumn]);
  const std::size_t total = catalog_ ? catalog_->Entries().size() : 0;
  Lblcount.SetCaption(
      lang::Filled(t[Text::kApplicationsCount],
                   {lang::FormatCount(applying_.size(), t), lang::FormatCount(total, t)}));
  BBtnok.SetCaption(t[Text::kOk]);
  BBtnabort.SetCaption(t[Text::kCancel]);
}

void TFrmapplications::Fill() {
  const std::string search = cleaners::FoldedText(Edsearch.Text());
  rows_.clear();
  std::string group;
  for (std::size_t i = 0; i < applying_.size(); ++i) {
    const std::string shown = cleaners::ShownName(applying_[i]->name);
    if (!search.empty() && cleaners::FoldedText(shown).find(search) == std::string::npos) continue;
    const std::string section = cleaners::Group(*applying_[i]);
    if (rows_.empty() || cleaners::FoldedText(section) != cleaners::FoldedText(group)) {
      group = section;
      rows_.push_back({true, 0, section});
    }
    rows_.push_back({false, i, shown});
  }
  LVentries.SetRowCount(static_cast<int>(rows_.size()));
}

void TFrmapplications::EdsearchChange() {
  Fill();
}

bool TFrmapplications::WarningAccepted(const cleaners::Entry& entry) {
  const std::string question =
      entry.warning + "\n\n" + texts_[lang::Text::kApplicationsWarningQuestion];
  return App().GetBackend().MessageBox(this, question, cleaners::ShownName(entry.name),
                                       kWarningQuestionStyle, messageLanguageId_) == kAnsweredYes;
}

void TFrmapplications::LVentriesCheck(const std::vector<int>& rows, bool checked) {
  for (const int row : rows) {
    const Row& shown = rows_[static_cast<std::size_t>(row)];
    if (shown.heading || ticked_[shown.entry] == checked) continue;
    const cleaners::Entry& entry = *applying_[shown.entry];
    if (checked && !entry.warning.empty() && !WarningAccepted(entry)) continue;
    ticked_[shown.entry] = checked;
  }
  LVentries.Refresh();
}

void TFrmapplications::BBtnokClick() {
  // Chosen entries that do not apply here (the application is gone for now, or its rule file
  // is) keep their place; those shown are chosen as ticked.
  std::unordered_set<std::string> shownNames;
  std::unordered_set<const cleaners::Entry*> ticked;
  for (std::size_t i = 0; i < applying_.size(); ++i) {
    shownNames.insert(cleaners::FoldedText(applying_[i]->name));
    if (ticked_[i]) ticked.insert(applying_[i]);
  }
  std::vector<std::string> choice;
  for (const std::string& name : target_->CleanerList) {
    if (!shownNames.contains(cleaners::FoldedText(name))) choice.push_back(name);
  }
  // In the order of the rule files, as a run takes them.
  for (const cleaners::Entry& entry : catalog_->Entries()) {
    if (ticked.contains(&entry)) choice.push_back(entry.name);
  }
  target_->CleanerList = std::move(choice);
  target_->MarkChanged(SettingsFile::kCleaners);
}

}  // namespace settings
