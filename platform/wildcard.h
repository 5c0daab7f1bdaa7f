#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Windows' file-name wildcard rules, applied by the program itself to long names (never to 8.3
// short names, and never by asking the file system). Case is ignored by comparing both sides
// upper-cased code unit by code unit. Callers skip the entries "." and "..": both would match `*`.

// Simple upper-case mapping of one UTF-16 code unit. Characters whose upper case is more than one
// character (U+00DF, ligatures) and surrogate code units map to themselves.
char16_t UpcaseChar(char16_t unit);

// Whether two names are the same to Windows: equal once both are upper-cased code unit by code
// unit. A name that is not valid WTF-8 equals only its own bytes.
bool SameName(std::string_view a, std::string_view b);

// A file name decoded and upper-cased once, so that it can be tested against many patterns.
// An empty name or one that is not valid WTF-8 matches no pattern.
class FoldedName {
 public:
  FoldedName() = default;
  explicit FoldedName(std::string_view utf8Name) { Assign(utf8Name); }

  // Replaces the name, reusing the buffer: a directory walk keeps one FoldedName per listing.
  void Assign(std::string_view utf8Name);

 private:
  friend class WildcardPattern;

  std::u16string units_;
  // How far from the start a DOS star may reach: through the last dot, or the whole name.
  std::size_t dosStarEnd_ = 0;
  bool valid_ = false;
};

// A pattern turned once into Windows' match expression: trailing dots and blanks dropped, `*.*`
// meaning `*`, `?` as "one character but not a dot", `*` before `.` stopping at the name's last
// dot, `.` before `?`/`*` also matching the end of the name, and a final `.` meaning "no
// extension". The characters < > " in a pattern are those same DOS wildcards, as on Windows.
// A pattern that is not valid WTF-8, or nothing but dots and blanks, matches no name.
class WildcardPattern {
 public:
  explicit WildcardPattern(std::string_view pattern);

  bool Matches(const FoldedName& name) const;
  bool Matches(std::string_view utf8Name) const { return Matches(FoldedName(utf8Name)); }

 private:
  enum class Op : unsigned char { kChar, kStar, kDosStar, kDosQm, kDosDot };
  struct Step {
    Op op;
    char16_t unit;  // for kChar, upper-cased
  };
  struct UnitSteps {
    char16_t unit;
    std::uint64_t steps;
  };
  static constexpr std::size_t kWordSteps = 63;

  bool MatchesWordMiddle(const FoldedName& name, std::size_t begin, std::size_t end) const;
  bool MatchesLongMiddle(const FoldedName& name, std::size_t begin, std::size_t end) const;

  // The expression is prefix_ + middle_ + suffix_: plain characters around the span from the first
  // wildcard to the last, so most names are rejected by two comparisons before any matching.
  std::u16string prefix_;
  std::vector<Step> middle_;
  std::u16string suffix_;
  // The longest run of plain characters inside the middle: a name lacking it is rejected at once.
  std::u16string needle_;
  // A middle of up to kWordSteps steps is also kept as bit masks (bit k for step k) and matched a
  // word at a time; longer ones go through middle_ step by step.
  std::uint64_t stars_ = 0;
  std::uint64_t dosStars_ = 0;
  std::uint64_t dosQms_ = 0;
  std::uint64_t dosDots_ = 0;
  std::vector<UnitSteps> chars_;
  bool valid_ = false;
};

// One-off form of WildcardPattern(pattern).Matches(name).
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace platform
