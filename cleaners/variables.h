// The %Name% variables of rule paths, as Windows defines them, and the folders they stand for
// on this system. %ProgramFiles% and %CommonProgramFiles% stand for both folders of their kind
// (the 64-bit and the 32-bit one).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace cleaners {

// One meaning of a text with variables.
struct Expansion {
  std::string text;
  // How much of `text` the system gave: the value of a variable the text starts with, or else
  // its drive part. What follows is the rule's own.
  std::size_t baseLength = 0;
};

class Variables {
 public:
  // Asks the system for every value once.
  explicit Variables(platform::System& system);

  // Whether the text names only variables this program knows (a '%' without a second one is
  // plain text).
  static bool OnlyKnown(std::string_view text);

  // Every meaning of the text: usually one, two where a variable stands for two folders (one
  // where both are the same), none where a variable has no value on this system.
  std::vector<Expansion> Expand(std::string_view text) const;

 private:
  // The values of each known variable, by its index in the table of names; no final backslash.
  std::vector<std::vector<std::string>> values_;
};

}  // namespace cleaners
