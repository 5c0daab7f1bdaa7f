// Runs clean runs on the sim the way a user does: press "Löschen", answer the review dialog,
// read the report.
#pragma once

#include <string>
#include <vector>

#include "clean/delinfo_form.h"
#include "clean/markfile_form.h"
#include "tests/app/app_harness.h"

namespace testing_app {

struct RunReport {
  std::vector<std::string> lines;  // what the report list held
  std::string value;               // the freed-size label
  std::string headline;
  ui::Color headlineColor;
  std::string caption;
  bool shown = false;
};

// What the user does in the review dialog; by default nothing is reviewed.
using ReviewScript = std::function<void(clean::TFrmmarkfile& review)>;

inline ReviewScript MarkAllAndGoOn() {
  return [](clean::TFrmmarkfile& review) {
    review.Btnallmark.Click();
    review.Btnnext.Click();
  };
}

class RunHarness : public AppHarness {
 public:
  RunHarness() {
    WriteRecord(
        std::string("\x02"
                    "En\x01",
                    4));
    sim.AddDrive('E', platform::DriveType::kFixed, "Data");
  }

  void Switches(std::initializer_list<int> on) {
    std::string bytes(14, '\0');
    for (int i : on)
      bytes[static_cast<size_t>(i)] = '\x01';
    sim.AddFile("data\\advancedoption.dat", bytes);
  }
  void Patterns(const std::string& lines) { sim.AddFile("data\\fileformat.dat", lines); }
  void Exceptions(const std::string& lines) { sim.AddFile("data\\exception.dat", lines); }

  // Queues the report dialog's script; the report is read and the dialog closed.
  void ExpectReport(RunReport& into) {
    ui.QueueModal(
        [&into](ui::Form& form) {
          auto& report = static_cast<clean::TFrmDelinfo&>(form);
          into.shown = true;
          for (int i = 0; i < report.LBdelinfo.Count(); ++i) {
            into.lines.push_back(report.LBdelinfo.Item(i));
          }
          into.value = report.Lblvalue.Caption();
          into.headline = report.Lblsuccess.Caption();
          into.headlineColor = report.Lblsuccess.TextFont().color;
          into.caption = report.Caption();
          report.BBtnClose.Click();
        },
        "TFrmDelinfo");
  }

  void ExpectReview(ReviewScript script) {
    ui.QueueModal([script](ui::Form& form) { script(static_cast<clean::TFrmmarkfile&>(form)); },
                  "TFrmmarkfile");
  }

  // One clean run over the drive of `letter` (0: all drives) inside a whole program run.
  RunReport CleanOnce(char letter = 'E', ReviewScript review = nullptr,
                      std::function<void(app::TFrmMain&)> before = nullptr) {
    RunReport report;
    Run([&](app::TFrmMain& main) {
      if (before) before(main);
      if (letter != 0) {
        for (int i = 0; i < main.DCBdrive.Count(); ++i) {
          if (main.DriveLetterAt(i) == letter) main.DCBdrive.UserChose(i);
        }
        main.RBtndrive.Click();
      } else {
        main.RBtnalldrive.Click();
      }
      if (review) ExpectReview(review);
      ExpectReport(report);
      main.BtnDelete.Click();
      main.Close();
    });
    return report;
  }
};

}  // namespace testing_app
