// A window with a list view of clean-up categories as a review shows them: check boxes, a
// right-aligned count and size, a bar of each size against the largest, group headings, an
// information row without a box and the sort arrow on the size column. The Windows tests start
// it as a separate process, to drive its list as they drive the program's (and to take its
// picture); the first argument names the language of its texts: En, De or Gr.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_view.h"
#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/wide_path.h"

#include <shellapi.h>

namespace {

using RowKind = ui::ListView::RowKind;
using Order = ui::ListView::SortOrder;

struct Texts {
  const char* code;
  std::array<const char*, 3> columns;
  std::array<const char*, 9> rows;
  const char* ticked;  // "%d" categories, "%s" their size
  const char* close;
  char decimalPoint;
  char thousands;
};

constexpr Texts kLanguages[] = {
    {"En",
     {"Category", "Files", "Size"},
     {"Windows", "Temporary files", "Recycle Bin", "Thumbnails", "Windows Update leftovers",
      "Previous Windows installation (Windows removes it itself)", "Applications", "Discord cache",
      "Spotify cache"},
     "Ticked: %d categories, %s",
     "Close",
     '.',
     ','},
    {"De",
     {"Kategorie", "Dateien", "Größe"},
     {"Windows", "Temporäre Dateien", "Papierkorb", "Miniaturansichten", "Reste von Windows Update",
      "Vorherige Windows-Installation (entfernt Windows selbst)", "Anwendungen", "Discord-Cache",
      "Spotify-Cache"},
     "Angehakt: %d Kategorien, %s",
     "Schließen",
     ',',
     '.'},
    {"Gr",
     {"Κατηγορία", "Αρχεία", "Μέγεθος"},
     {"Windows", "Προσωρινά αρχεία", "Κάδος ανακύκλωσης", "Μικρογραφίες",
      "Υπόλοιπα του Windows Update",
      "Προηγούμενη εγκατάσταση των Windows (την αφαιρούν τα ίδια τα Windows)", "Εφαρμογές",
      "Κρυφή μνήμη του Discord", "Κρυφή μνήμη του Spotify"},
     "Επιλεγμένα: %d κατηγορίες, %s",
     "Κλείσιμο",
     ',',
     '.'},
};

constexpr std::int64_t kMB = 1024 * 1024;

struct Category {
  int name;  // in Texts::rows
  int group;
  int files;
  std::int64_t bytes;
  bool checked;
  RowKind kind;
};

class ListViewWindow : public ui::Form {
 public:
  ListViewWindow(ui::Application& app, const Texts& texts) : ui::Form(app), texts_(texts) {
    SetName("TListViewWindow");
    SetCaption("Dustorix \xE2\x80\x93 list view");
    SetClientSize({560, 290});
    list.SetColumns({{texts.columns[0], 262},
                     {texts.columns[1], 74, ui::ListView::Align::kRight},
                     {texts.columns[2], 84, ui::ListView::Align::kRight},
                     {"", 96, ui::ListView::Align::kLeft, true}});
    list.CellText = [this](int row, int column) {
      return Cell(rows_[static_cast<size_t>(row)], column);
    };
    list.RowChecked = [this](int row) { return rows_[static_cast<size_t>(row)].checked; };
    list.KindOfRow = [this](int row) { return rows_[static_cast<size_t>(row)].kind; };
    list.BarFraction = [this](int row, int) {
      std::int64_t largest = 1;
      for (const Category& each : rows_)
        largest = std::max(largest, each.bytes);
      return static_cast<double>(rows_[static_cast<size_t>(row)].bytes) /
             static_cast<double>(largest);
    };
    list.OnCheck = [this](const std::vector<int>& changed, bool checked) {
      for (int row : changed)
        rows_[static_cast<size_t>(row)].checked = checked;
      ShowTotal();
    };
    list.OnColumnClick = [this](int column, Order order) { Sort(column, order); };
    close.SetCaption(texts.close);
    list.SetRowCount(static_cast<int>(rows_.size()));
    list.SetSortArrow(2, Order::kDescending);
    Sort(2, Order::kDescending);
    ShowTotal();
    Realize();
  }

  ui::ListView list{this, {8, 8, 544, 236}};
  ui::Label total{this, {8, 258, 380, 17}};
  ui::Button close{this, {477, 254, 75, 25}, "", ui::Button::ButtonKind::kClose};

 private:
  std::string Cell(const Category& row, int column) const {
    if (column == 0) return texts_.rows[static_cast<size_t>(row.name)];
    if (row.kind == RowKind::kHeading) return {};
    if (column == 1) return row.kind == RowKind::kInfo ? std::string() : Count(row.files);
    if (column == 2) return Size(row.bytes);
    return {};
  }

  std::string Count(int number) const {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
      digits.insert(static_cast<size_t>(at), 1, texts_.thousands);
    return digits;
  }

  std::string Size(std::int64_t bytes) const {
    char text[32];
    if (bytes >= 1024 * kMB) {
      std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / (1024.0 * kMB));
      std::replace(text, text + sizeof text, '.', texts_.decimalPoint);
    } else {
      std::snprintf(text, sizeof text, "%lld MB", static_cast<long long>(bytes / kMB));
    }
    return text;
  }

  // Within each group, below its heading, as the review keeps its groups together.
  void Sort(int column, Order order) {
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Category& a, const Category& b) {
      if (a.group != b.group) return a.group < b.group;
      if ((a.kind == RowKind::kHeading) != (b.kind == RowKind::kHeading))
        return a.kind == RowKind::kHeading;
      const auto key = [&](const Category& row) -> std::int64_t {
        return column == 1 ? row.files : column == 2 || column == 3 ? row.bytes : 0;
      };
      if (column == 0) {
        const std::string nameA = texts_.rows[static_cast<size_t>(a.name)];
        const std::string nameB = texts_.rows[static_cast<size_t>(b.name)];
        return order == Order::kAscending ? nameA < nameB : nameB < nameA;
      }
      return order == Order::kAscending ? key(a) < key(b) : key(b) < key(a);
    });
    list.Refresh();
  }

  void ShowTotal() {
    int count = 0;
    std::int64_t bytes = 0;
    for (const Category& row : rows_) {
      if (row.kind == RowKind::kNormal && row.checked) {
        ++count;
        bytes += row.bytes;
      }
    }
    char text[160];
    std::snprintf(text, sizeof text, texts_.ticked, count, Size(bytes).c_str());
    total.SetCaption(text);
  }

  const Texts& texts_;
  std::vector<Category> rows_ = {
      {0, 0, 0, 0, false, RowKind::kHeading},
      {1, 0, 1284, 700 * kMB, true, RowKind::kNormal},
      {2, 0, 37, 2048 * kMB, false, RowKind::kNormal},
      {3, 0, 5412, 98 * kMB, true, RowKind::kNormal},
      {4, 0, 211, 1434 * kMB, true, RowKind::kNormal},
      {5, 0, 0, 12288 * kMB, false, RowKind::kInfo},
      {6, 1, 0, 0, false, RowKind::kHeading},
      {7, 1, 903, 312 * kMB, true, RowKind::kNormal},
      {8, 1, 2031, 1126 * kMB, false, RowKind::kNormal},
  };
};

const Texts& LanguageFromCommandLine() {
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::string code = argv && count > 1 ? platform::win32::Narrow(argv[1]) : "En";
  if (argv) ::LocalFree(argv);
  for (const Texts& texts : kLanguages) {
    if (code == texts.code) return texts;
  }
  return kLanguages[0];
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const Texts& texts = LanguageFromCommandLine();
  platform::win32::Win32Ui backend;
  ui::Application app(backend);
  ListViewWindow window(app, texts);
  app.Run(window);
  return 0;
}
