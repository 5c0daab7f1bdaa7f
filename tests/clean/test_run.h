// A clean run without a window, for tests of the walk and of the run: the view records what the
// run shows and lets a test act at each message check, as a user pressing stop would.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clean/clean_run.h"
#include "clean/run_view.h"
#include "lang/language_texts.h"

namespace testing_clean {

using Lines = std::vector<std::string>;

class TestView final : public clean::RunView {
 public:
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  void AddReportLine(const std::string& line) override { report.push_back(line); }
  bool Review(clean::RemovalPlan& plan, bool) override {
    reviewed.clear();
    for (const std::uint32_t index : plan.Shown())
      reviewed.push_back(plan.Categories()[index].name);
    return review && review(plan);
  }
  void ProcessMessages() override {
    if (onProcessMessages) onProcessMessages();
  }

  Lines statuses;  // every status text, in order
  Lines report;    // the report lines
  Lines reviewed;  // the categories the last review was shown
  // Whether the user cleans up, with the plan ticked as they leave it; by default no review goes
  // on.
  std::function<bool(clean::RemovalPlan& plan)> review;
  std::function<void()> onProcessMessages;
};

// A run on `system`; its settings and texts may be set until it runs.
struct TestRun {
  explicit TestRun(platform::System& system) : run(system, view, state, settings, texts) {}

  TestView view;
  clean::RunState state;
  clean::RunSettings settings;
  lang::LanguageTexts texts;
  clean::CleanRun run;
};

}  // namespace testing_clean
