// The special clean-ups on the sim: a machine with drives C: and D:, a headless ui and the
// state of one clean run, as the main window would hand them over.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleanups/special_cleanups.h"
#include "platform/sim/fault_injection.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_ui.h"
#include "platform/ui/form.h"
#include "platform/ui/list_box.h"

namespace testing_cleanups {

class CleanupsTest : public ::testing::Test {
 protected:
  CleanupsTest() {
    sim.AddDrive('C', platform::DriveType::kFixed);
    sim.AddDrive('D', platform::DriveType::kFixed);
    sim.AddFolder("C:\\Dustorix");
    sim.SetCurrentDirectory("C:\\Dustorix");
    ui.onProcessMessages = [this] { ++processed; };
  }

  // A file of `size` bytes.
  void File(const std::string& path, std::size_t size, std::uint32_t attributes = 0) {
    sim.AddFile(path, std::string(size, 'x'), attributes);
  }
  // The report lines, in order.
  std::vector<std::string> Reported() const {
    std::vector<std::string> lines;
    for (int i = 0; i < report.Count(); ++i)
      lines.push_back(report.Item(i));
    return lines;
  }
  // Sets the stop flag at the `n`-th message processing from now, as the stop button would.
  void StopAt(int n) {
    ui.onProcessMessages = [this, n] {
      if (++processed == n) state.stop = true;
    };
  }

  platform::sim::SimSystem sim;
  platform::sim::FaultInjector faults{sim};  // what the clean-ups run against
  platform::sim::SimUi ui;
  ui::Application app{ui};
  ui::Form form{app};
  ui::ListBox report{&form, {0, 0, 200, 100}};
  clean::RunState state;
  clean::RunContext run{faults, app, state, report};
  cleanups::SpecialCleanups cleanups{run, true};
  int processed = 0;
};

}  // namespace testing_cleanups
