#include "clean/delinfo_form.h"

namespace clean {

TFrmDelinfo* FrmDelinfo = nullptr;

namespace {
const ui::Color kGreen = ui::Color::Rgb(0, 128, 0);
const ui::Color kRed = ui::Color::Rgb(255, 0, 0);
}  // namespace

TFrmDelinfo::TFrmDelinfo(ui::Application& app, const lang::LanguageTexts& texts)
    : ui::Form(app),
      Lblsuccess(this, {10, 6, 495, 17}, "Der Vorgang wurde erfolgreich durchgef\xC3\xBChrt"),
      Lblfiledel(this, {8, 36, 497, 13}, "Folgende Dateien wurden gel\xC3\xB6scht:"),
      LBdelinfo(this, {8, 56, 497, 97}),
      // Two lines: the freed total, and what went to the recycle bin.
      Lblvalue(this, {12, 156, 400, 26}),
      BBtnClose(this, {428, 163, 75, 25},
                "&Schlie\xC3\x9F"
                "en",
                ui::Button::ButtonKind::kClose),
      texts_(texts) {
  SetName("TFrmDelinfo");
  SetCaption("Gel\xC3\xB6schte Dateien");
  SetBorder(Border::kSizeable);
  SetOuterSize({520, 220});
  // Smaller, the headline and the freed total would be cut off and the button cover the total.
  SetMinimumOuterSize({520, 220});
  SetPosition(Position::kMainFormCenter);
  Lblsuccess.SetTextFont(kOutcomeFont);
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  OnCanResize = [this](int& width, int& height, bool& allow) {
    FormCanResize(width, height, allow);
  };
  Realize();
}

void TFrmDelinfo::AddLine(const std::string& line) {
  ui::AddFitted(LBdelinfo, line);
}

void TFrmDelinfo::ShowReport(RunKind kind, RunOutcome outcome, const RunState& state) {
  ApplyTexts(kind, outcome);
  Lblvalue.SetCaption(FreedTotal(kind == RunKind::kClean, state, texts_));
  ShowModal();
}

void TFrmDelinfo::ApplyTexts(RunKind kind, RunOutcome outcome) {
  using lang::Text;
  const bool analysis = kind == RunKind::kAnalysis;
  Text headline = analysis ? Text::kAnalysisHeadline : Text::kSuccessHeadline;
  Text label = analysis ? Text::kWouldBeDeletedLabel : Text::kDeletedFilesLabel;
  if (outcome == RunOutcome::kStopped) {
    headline = analysis ? Text::kAnalysisStoppedHeadline : Text::kStoppedHeadline;
    if (!analysis) label = Text::kStoppedDeletedFilesLabel;
  } else if (outcome == RunOutcome::kCancelled) {
    headline = Text::kCancelledHeadline;
    label = Text::kNotesLabel;
  } else if (outcome == RunOutcome::kSettingsUnreadable) {
    headline = Text::kSettingsUnreadable;
  }
  Lblsuccess.SetFontColor(outcome == RunOutcome::kCompleted ? kGreen : kRed);
  Lblsuccess.SetCaption(texts_[headline]);
  Lblfiledel.SetCaption(texts_[label]);
  BBtnClose.SetCaption(texts_[Text::kClose]);
  SetCaption(texts_[analysis ? Text::kAnalysisTitle : Text::kReportTitle]);
}

void TFrmDelinfo::Clear() {
  LBdelinfo.Clear();
  LBdelinfo.SetHorizontalExtent(0);
}

void TFrmDelinfo::FormClose(ui::CloseAction&) {
  Clear();
}

void TFrmDelinfo::FormCanResize(int& width, int& height, bool& allow) {
  LBdelinfo.SetWidth(width - LBdelinfo.Bounds().left - 15);
  LBdelinfo.SetHeight(height - 123);
  BBtnClose.SetLeft(width - 92);
  const int listBottom = LBdelinfo.Bounds().top + LBdelinfo.Bounds().height;
  BBtnClose.SetTop(listBottom + 8);
  Lblvalue.SetTop(listBottom + 3);
  allow = true;
}

}  // namespace clean
