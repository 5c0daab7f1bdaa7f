// What the operations of a clean run share: the system, the stop flag, the freed-bytes total,
// the report list and the message pump that keeps the window alive.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "platform/ui/application.h"
#include "platform/ui/list_box.h"

namespace clean {

// The state of one clean run, owned by the main window.
struct RunState {
  bool stop = false;            // set by the stop button, tested between entries and steps
  std::int64_t freedBytes = 0;  // bytes removed in this run
  bool running = false;         // a run is inside its click handler, stopped or not
};

class RunContext {
 public:
  RunContext(platform::System& system, ui::Application& app, RunState& state, ui::ListBox& report)
      : system_(system), app_(app), state_(state), report_(report) {}

  platform::System& System() { return system_; }
  bool Stopped() const { return state_.stop; }
  void AddFreed(std::int64_t bytes) { state_.freedBytes += bytes; }
  // Lets the window handle what is pending, the stop button included.
  void ProcessMessages() { app_.ProcessMessages(); }
  // Appends a line to the report list and widens its scroll range to fit it.
  void Report(const std::string& line);

 private:
  platform::System& system_;
  ui::Application& app_;
  RunState& state_;
  ui::ListBox& report_;
};

// The new horizontal scroll range of a list box after a line `width` pixels wide was added:
// it grows to the width plus 10 once the line is more than 10 pixels wider than the range.
int FitScrollWidth(int width, const ui::ListBox& list);

}  // namespace clean
