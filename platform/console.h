// The console a command-line run reports to: its output, Ctrl+C, and the clock that dates the
// run. The window needs none of it.
#pragma once

#include <string_view>

namespace platform {

// A moment in UTC, to the second.
struct UtcTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Console {
 public:
  virtual ~Console() = default;
  // UTF-8 text to standard output and to standard error. Nothing is shown, and nothing fails,
  // when the program was started without either (a scheduled task).
  virtual void Out(std::string_view text) = 0;
  virtual void Err(std::string_view text) = 0;
  // Whether Ctrl+C or Ctrl+Break was pressed; once pressed, it stays so.
  virtual bool Interrupted() = 0;
  virtual UtcTime Now() = 0;
};

}  // namespace platform
