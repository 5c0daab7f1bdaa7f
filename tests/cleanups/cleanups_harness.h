// The special clean-ups on the sim: a machine with drives C: and D: and a clean run without a
// window, whose report and message checks the tests read.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleanups/special_cleanups.h"
#include "platform/sim/fault_injection.h"
#include "platform/sim/sim_system.h"
#include "tests/clean/test_run.h"

namespace testing_cleanups {

class CleanupsTest : public ::testing::Test {
 protected:
  CleanupsTest() {
    sim.AddDrive('C', platform::DriveType::kFixed);
    sim.AddDrive('D', platform::DriveType::kFixed);
    sim.AddFolder("C:\\Dustorix");
    sim.SetCurrentDirectory("C:\\Dustorix");
    // The user's profile and the folders around it, which the guard of every place knows.
    namespace csidl = platform::csidl;
    for (const auto& [folder, path] : {std::pair{csidl::kUserProfiles, "C:\\Users"},
                                       std::pair{csidl::kProfile, "C:\\Users\\tester"},
                                       std::pair{csidl::kPublic, "C:\\Users\\Public"}}) {
      sim.AddFolder(path);
      sim.SetSpecialFolder(folder, path);
    }
    test.view.onProcessMessages = [this] { ++processed; };
  }

  // A file of `size` bytes.
  void File(const std::string& path, std::size_t size, std::uint32_t attributes = 0) {
    sim.AddFile(path, std::string(size, 'x'), attributes);
  }
  // The report lines, in order.
  std::vector<std::string> Reported() const { return test.view.report; }
  // Sets the stop flag at the `n`-th message processing from now, as the stop button would.
  void StopAt(int n) {
    test.view.onProcessMessages = [this, n] {
      if (++processed == n) state.stop = true;
    };
  }

  platform::sim::SimSystem sim;
  platform::sim::FaultInjector faults{sim};  // what the clean-ups run against
  testing_clean::TestRun test{faults};
  clean::RunState& state = test.state;
  cleanups::RunContext& run = test.run;
  cleanups::SpecialCleanups cleanups{run, true};
  int processed = 0;
};

}  // namespace testing_cleanups
