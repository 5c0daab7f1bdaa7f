// What a clean run needs from the window it runs in: the main window, or none at all.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace clean {

class RunView {
 public:
  virtual ~RunView() = default;
  // The progress text, drawn at once.
  virtual void ShowStatus(const std::string& text) = 0;
  // A line of the report: a removed file, or a step's summary.
  virtual void AddReportLine(const std::string& line) = 0;
  // Shows the files found in review mode; the ones the user marked once they went on, nothing
  // when they left the review otherwise.
  virtual std::optional<std::vector<std::string>> Review(std::vector<std::string> found) = 0;
  // Lets the window handle what is pending, the stop button included.
  virtual void ProcessMessages() = 0;
};

}  // namespace clean
