// What a clean-up needs from the run it is part of: the system it works on, the stop flag, the
// freed-bytes total, the report with its texts and the message pump that keeps the window alive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cleanups/place_guard.h"
#include "lang/language_texts.h"
#include "platform/system.h"

namespace cleanups {

class RunContext {
 public:
  virtual platform::System& System() = 0;
  // The one check of every place a clean-up empties, over System().
  virtual PlaceGuard& Guard() = 0;
  // Set by the stop button; tested between entries and before each step.
  virtual bool Stopped() const = 0;
  // Counts `files` removed that freed `bytes` together.
  virtual void AddFreed(std::int64_t bytes, std::int64_t files = 1) = 0;
  // Counts `items` removed that are no files (registry values and keys), as a review lists them.
  virtual void AddItems(std::int64_t /*items*/) {}
  // Of what AddFreed counted, `files` of `bytes` went to the recycle bin, where they still take
  // their space.
  virtual void AddRecycled(std::int64_t /*bytes*/, std::int64_t /*files*/ = 1) {}
  // The recycle bin was emptied, which freed `emptied`. What this run moved into the bin was
  // counted when it went there, and counts only once.
  virtual void RecycleBinEmptied(const platform::RecycleBinContent& emptied) = 0;
  // The bytes counted so far in this run.
  virtual std::int64_t FreedBytes() const = 0;
  // The texts of the chosen language, for the lines a clean-up reports itself.
  virtual const lang::LanguageTexts& Texts() const = 0;
  // Appends a line to the report.
  virtual void Report(const std::string& line) = 0;
  // A line that tells what was left alone, and why: shown also when nothing is removed.
  virtual void Note(const std::string& line) { Report(line); }
  // A browser was found running and is left alone for this run (its report line says so).
  virtual void BrowserLeftAlone(const std::string& name) = 0;
  // Lets the window handle what is pending, the stop button included.
  virtual void ProcessMessages() = 0;
  // Whether nothing is removed and the report tells what would go.
  virtual bool Predicts() const { return false; }
  // A part of the step that is running (one browser's cache) is shown as a category of its own
  // until it ends.
  virtual void PartBegins(std::string_view /*id*/, std::string_view /*name*/) {}
  virtual void PartEnds() {}

 protected:
  ~RunContext() = default;
};

}  // namespace cleanups
