// A slow matcher written straight from Windows' wildcard rules, for checking the real one and
// for the oracle of the walk's property test. Names and patterns are ASCII.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace reference_wildcard {

// Slow reference written straight from the rules: the pattern becomes an expression over ASCII
// ('<' DOS star, '>' DOS question mark, '"' DOS dot), matched by plain backtracking.
inline std::optional<std::string> ReferenceExpression(std::string pattern) {
  const bool endedInDot = !pattern.empty() && pattern.back() == '.';
  while (!pattern.empty() && (pattern.back() == '.' || pattern.back() == ' '))
    pattern.pop_back();
  if (pattern.empty()) return std::nullopt;
  if (pattern == "*.*") return "*";
  std::string expr;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '?') {
      expr += '>';
    } else if (c == '.' && (next == '?' || next == '*')) {
      expr += '"';
    } else if (c == '*' && next == '.') {
      expr += '<';
    } else {
      expr += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
  }
  if (endedInDot && expr.back() == '*') expr.back() = '<';
  return expr;
}

// Memoised, so that long names with several stars stay quick.
class ReferenceMatcher {
 public:
  ReferenceMatcher(std::string expr, std::string name)
      : expr_(std::move(expr)),
        name_(std::move(name)),
        lastDot_(name_.rfind('.')),
        memo_((expr_.size() + 1) * (name_.size() + 1), -1) {}

  bool Match(std::size_t e, std::size_t i) {
    signed char& known = memo_[e * (name_.size() + 1) + i];
    if (known < 0) known = Compute(e, i);
    return known != 0;
  }

 private:
  bool Compute(std::size_t e, std::size_t i) {
    if (e == expr_.size()) return i == name_.size();
    const bool atEnd = i == name_.size();
    switch (expr_[e]) {
      case '*':
        for (std::size_t k = i; k <= name_.size(); ++k) {
          if (Match(e + 1, k)) return true;
        }
        return false;
      case '<':
        for (std::size_t k = i; k <= name_.size(); ++k) {
          // Took name[i, k): it may end on the last dot but not go beyond it.
          if (k > i && lastDot_ != std::string::npos && k - 1 > lastDot_) return false;
          if (Match(e + 1, k)) return true;
        }
        return false;
      case '>':
        if (atEnd || name_[i] == '.') return Match(e + 1, i);
        return Match(e + 1, i + 1);
      case '"':
        if (atEnd) return Match(e + 1, i);
        return name_[i] == '.' && Match(e + 1, i + 1);
      default:
        if (atEnd) return false;
        const char c =
            name_[i] >= 'a' && name_[i] <= 'z' ? static_cast<char>(name_[i] - 32) : name_[i];
        return c == expr_[e] && Match(e + 1, i + 1);
    }
  }

  const std::string expr_;
  const std::string name_;
  const std::size_t lastDot_;
  std::vector<signed char> memo_;
};

inline bool ReferenceMatches(const std::string& pattern, const std::string& name) {
  const auto expr = ReferenceExpression(pattern);
  return expr && !name.empty() && ReferenceMatcher(*expr, name).Match(0, 0);
}

}  // namespace reference_wildcard
