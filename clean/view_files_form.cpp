#include "clean/view_files_form.h"

#include <algorithm>

#include "lang/quantities.h"
#include "platform/utf.h"
#include "platform/wildcard.h"

namespace clean {

using ItemKind = PlannedItem::Kind;

namespace {

const char* RootName(platform::RegistryRoot root) {
  switch (root) {
    case platform::RegistryRoot::kCurrentUser:
      return "HKEY_CURRENT_USER";
    case platform::RegistryRoot::kLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case platform::RegistryRoot::kUsers:
      return "HKEY_USERS";
    case platform::RegistryRoot::kClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return "";
}

bool IsFile(const PlannedItem& item) {
  return item.kind == ItemKind::kDeleteFile || item.kind == ItemKind::kRecycleFile;
}

}  // namespace

TFrmviewfiles::TFrmviewfiles(ui::Application& app, const lang::LanguageTexts& texts)
    : ui::Form(app),
      Lblviewfiles(this, {7, 8, 569, 13}),
      LVviewfiles(this, {7, 26, 569, 262}),
      Btnclose(this, {486, 294, 90, 25},
               "&Schlie\xC3\x9F"
               "en",
               ui::Button::ButtonKind::kClose),
      texts_(texts) {
  SetName("TFrmviewfiles");
  SetCaption("Dateien anzeigen");
  SetBorder(Border::kSizeable);
  SetOuterSize({600, 360});
  SetMinimumOuterSize({600, 360});
  SetPosition(Position::kMainFormCenter);
  LVviewfiles.SetColumns({{"", 220}, {"", 250}, {"", 80, ui::ListView::Align::kRight}});
  LVviewfiles.CellText = [this](int row, int column) { return Cell(Item(row), column); };
  LVviewfiles.RowChecked = [this](int row) { return Item(row).ticked; };
  LVviewfiles.OnCheck = [this](const std::vector<int>& changed, bool checked) {
    for (int row : changed)
      Item(row).ticked = checked;
  };
  LVviewfiles.OnColumnClick = [this](int column, ui::ListView::SortOrder order) {
    Sort(column, order);
  };
  Btnclose.SetCancel(true);
  Btnclose.SetDefault(true);
  OnCanResize = [this](int& width, int& height, bool& allow) {
    FormCanResize(width, height, allow);
  };
  Realize();
}

std::string TFrmviewfiles::Cell(const PlannedItem& item, int column) const {
  const bool file = IsFile(item);
  switch (column) {
    case 0:
      if (file) return item.subject.substr(item.subject.find_last_of('\\') + 1);
      if (item.kind == ItemKind::kRegistryValue || item.kind == ItemKind::kRegistryKey) {
        return std::string(RootName(item.root)) + '\\' + item.subject + '\\' + item.name;
      }
      return item.subject;
    case 1:
      return file ? FolderOf(item.subject) : std::string();
    case 2:
      return lang::FormatSize(item.bytes, texts_);
    default:
      return {};
  }
}

void TFrmviewfiles::ShowFiles(RemovalPlan& plan, std::uint32_t category) {
  plan_ = &plan;
  rows_.clear();
  for (std::size_t i = 0; i < plan.Items().size(); ++i) {
    const PlannedItem& item = plan.Items()[i];
    // A folder goes only once its files went: it is no choice of its own.
    if (item.category == category && item.kind != ItemKind::kRemoveFolder) rows_.push_back(i);
  }
  LVviewfiles.SetSortArrow(-1, ui::ListView::SortOrder::kNone);
  LVviewfiles.SetRowCount(static_cast<int>(rows_.size()));
  ApplyTexts(plan.Categories()[category].name);
  ShowModal();
  LVviewfiles.SetRowCount(0);
  rows_.clear();
  plan_ = nullptr;
}

void TFrmviewfiles::Sort(int column, ui::ListView::SortOrder order) {
  // Names as Windows orders them, case ignored; sizes by their bytes.
  struct Keyed {
    std::u16string folded;
    std::uint64_t bytes;
    std::size_t index;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(rows_.size());
  for (const std::size_t index : rows_) {
    const PlannedItem& item = plan_->Items()[index];
    Keyed entry{{}, item.bytes, index};
    if (column != 2) {
      const std::string text = Cell(item, column);
      if (!platform::Utf8ToUtf16(text, entry.folded)) entry.folded.assign(text.begin(), text.end());
      for (char16_t& unit : entry.folded)
        unit = platform::UpcaseChar(unit);
    }
    keyed.push_back(std::move(entry));
  }
  const bool descending = order == ui::ListView::SortOrder::kDescending;
  std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    if (column == 2) return descending ? a.bytes > b.bytes : a.bytes < b.bytes;
    return descending ? a.folded > b.folded : a.folded < b.folded;
  });
  for (std::size_t i = 0; i < keyed.size(); ++i)
    rows_[i] = keyed[i].index;
  LVviewfiles.Refresh();
}

void TFrmviewfiles::ApplyTexts(const std::string& category) {
  using lang::Text;
  SetCaption(lang::WithoutAccessKey(texts_[Text::kViewFiles]));
  Lblviewfiles.SetCaption(category);
  LVviewfiles.SetColumnCaption(0, texts_[Text::kViewFilesColumnName]);
  LVviewfiles.SetColumnCaption(1, texts_[Text::kViewFilesColumnFolder]);
  LVviewfiles.SetColumnCaption(2, texts_[Text::kReviewColumnSize]);
  Btnclose.SetCaption(texts_[Text::kClose]);
}

void TFrmviewfiles::FormCanResize(int& width, int& height, bool& allow) {
  const int right = width - 24;
  Lblviewfiles.SetWidth(right - Lblviewfiles.Bounds().left);
  LVviewfiles.SetWidth(right - LVviewfiles.Bounds().left);
  LVviewfiles.SetHeight(height - LVviewfiles.Bounds().top - 72);
  Btnclose.SetLeft(right - Btnclose.Bounds().width);
  Btnclose.SetTop(LVviewfiles.Bounds().top + LVviewfiles.Bounds().height + 6);
  allow = true;
}

}  // namespace clean
