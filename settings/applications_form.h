// The dialog "Anwendungen": the entries of the application rules that apply to this computer,
// grouped by their section, each with a check box; a search box narrows the list. OK makes the
// ticked entries the user's choice; Escape and "Abbrechen" change nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cleaners/catalog.h"
#include "lang/language_texts.h"
#include "platform/system.h"
#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_view.h"
#include "settings/settings.h"

namespace settings {

class TFrmapplications : public ui::Form {
 public:
  // `texts` is the main window's table, read at the moment of use.
  TFrmapplications(ui::Application& app, const lang::LanguageTexts& texts);

  ui::Label Lblsearch;
  ui::Edit Edsearch;
  ui::ListView LVentries;
  ui::Label Lblcount;
  ui::Button BBtnok;
  ui::Button BBtnabort;

  // Reads the rule files through `system`, shows the entries that apply with those of
  // `target.CleanerList` ticked, and on OK writes the choice back into it and returns true.
  // Chosen entries that do not apply here stay chosen.
  bool Open(Settings& target, platform::System& system, std::uint16_t messageLanguageId);

  void EdsearchChange();
  void LVentriesCheck(const std::vector<int>& rows, bool checked);
  void BBtnokClick();
  void ApplyTexts();

  // What the list shows, row by row: a section's name, or an entry (its index in the entries
  // that apply).
  struct Row {
    bool heading = false;
    std::size_t entry = 0;
    std::string text;
  };
  const std::vector<Row>& Rows() const { return rows_; }

 private:
  // The rows of the entries whose shown name holds the search text, each section under its name.
  void Fill();
  // Whether the user, told the entry's warning, still wants it.
  bool WarningAccepted(const cleaners::Entry& entry);

  const lang::LanguageTexts& texts_;
  Settings* target_ = nullptr;
  std::uint16_t messageLanguageId_ = 0;
  std::unique_ptr<cleaners::Catalog> catalog_;
  std::vector<const cleaners::Entry*> applying_;  // by section, then by name
  std::vector<bool> ticked_;                      // entry for entry
  std::vector<Row> rows_;
};

extern TFrmapplications* Frmapplications;

}  // namespace settings
