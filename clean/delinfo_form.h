// The report dialog: what a clean run removed, and the space it freed.
#pragma once

#include <cstdint>
#include <string>

#include "clean/clean_run.h"
#include "lang/language_texts.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"

namespace clean {

// The font of the line that tells how the run ended.
inline const ui::Font kOutcomeFont{"", 13, true, ui::Color::Rgb(0, 128, 0)};

class TFrmDelinfo : public ui::Form {
 public:
  // `texts` is the main window's table, read at the moment of use.
  TFrmDelinfo(ui::Application& app, const lang::LanguageTexts& texts);

  ui::Label Lblsuccess;
  ui::Label Lblfiledel;
  ui::ListBox LBdelinfo;
  ui::Label Lblvalue;
  ui::Button BBtnClose;

  // A removed file or a step's summary, in the order the run made them.
  void AddLine(const std::string& line);
  void Clear();
  // Shows the report of a run with the figures of `state`, or of an analysis that found them;
  // what went to the recycle bin is told apart, since it frees nothing yet. Closing it empties
  // the list.
  void ShowReport(RunKind kind, RunOutcome outcome, const RunState& state);
  // The headline in green, or in red after a stop or when nothing was searched, and the other
  // captions.
  void ApplyTexts(RunKind kind, RunOutcome outcome);

  void FormClose(ui::CloseAction& action);
  void FormCanResize(int& width, int& height, bool& allow);

 private:
  const lang::LanguageTexts& texts_;
};

extern TFrmDelinfo* FrmDelinfo;

}  // namespace clean
