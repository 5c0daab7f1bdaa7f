// A console for tests: it keeps what the program wrote, and a test presses Ctrl+C and sets the
// clock.
#pragma once

#include <functional>
#include <string>

#include "platform/console.h"

namespace platform::sim {

class SimConsole final : public Console {
 public:
  void Out(std::string_view text) override { out += text; }
  void Err(std::string_view text) override { err += text; }
  bool Interrupted() override {
    if (onInterruptCheck) onInterruptCheck(*this);
    return interrupted;
  }
  UtcTime Now() override { return now; }

  std::string out;
  std::string err;
  bool interrupted = false;
  // Runs each time the program asks whether Ctrl+C was pressed: a test presses it mid-run here.
  std::function<void(SimConsole&)> onInterruptCheck;
  UtcTime now{2024, 5, 1, 3, 0, 0};
};

}  // namespace platform::sim
