#include "platform/wildcard.h"

#include <algorithm>

#include "platform/utf.h"

namespace platform {
namespace {

#include "platform/upcase_table.inc"

bool SameUnits(const char16_t* a, const std::u16string& b) {
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace

char16_t UpcaseChar(char16_t unit) {
  if (unit < 0x80) return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 0x20) : unit;
  const std::uint16_t delta =
      kUpcaseDelta[kUpcaseIndex[unit >> kUpcaseShift]][unit & (kUpcaseBlock - 1)];
  return static_cast<char16_t>(unit + delta);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a == b) return true;
  std::u16string left, right;
  if (!Utf8ToUtf16(a, left) || !Utf8ToUtf16(b, right) || left.size() != right.size()) {
    return false;
  }
  for (std::size_t i = 0; i < left.size(); ++i) {
    if (UpcaseChar(left[i]) != UpcaseChar(right[i])) return false;
  }
  return true;
}

void FoldedName::Assign(std::string_view utf8Name) {
  const std::size_t n = utf8Name.size();
  units_.resize(n);
  // Branch-free ASCII pass; any byte with the high bit set sends the name to the full decoder.
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8Name.data());
  char16_t* out = units_.data();
  unsigned char seen = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char b = bytes[i];
    seen |= b;
    out[i] = static_cast<char16_t>(b - (static_cast<unsigned>(b - 'a') < 26u ? 0x20 : 0));
  }
  valid_ = true;
  if (seen < 0x80) {
    const std::size_t dot = utf8Name.rfind('.');
    dosStarEnd_ = dot == std::string_view::npos ? n : dot + 1;
    return;
  }

  valid_ = Utf8ToUtf16(utf8Name, units_);
  if (!valid_) return;
  dosStarEnd_ = units_.size();
  for (std::size_t k = 0; k < units_.size(); ++k) {
    units_[k] = UpcaseChar(units_[k]);
    if (units_[k] == u'.') dosStarEnd_ = k + 1;
  }
}

WildcardPattern::WildcardPattern(std::string_view pattern) {
  std::u16string text;
  if (!Utf8ToUtf16(pattern, text)) return;
  const bool endedInDot = !text.empty() && text.back() == u'.';
  while (!text.empty() && (text.back() == u'.' || text.back() == u' '))
    text.pop_back();
  if (text.empty()) return;

  std::vector<Step> expr;
  if (text == u"*.*") {
    expr.push_back({Op::kStar, 0});
  } else {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char16_t c = text[i];
      const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
      if (c == u'?' || c == u'>') {
        expr.push_back({Op::kDosQm, 0});
      } else if (c == u'"' || (c == u'.' && (next == u'?' || next == u'*'))) {
        expr.push_back({Op::kDosDot, 0});
      } else if (c == u'<' || (c == u'*' && next == u'.')) {
        expr.push_back({Op::kDosStar, 0});
      } else if (c == u'*') {
        expr.push_back({Op::kStar, 0});
      } else {
        expr.push_back({Op::kChar, UpcaseChar(c)});
      }
    }
    // "name." asks for names without an extension, so a final star must stop at the last dot.
    if (endedInDot && expr.back().op == Op::kStar) expr.back().op = Op::kDosStar;
  }

  std::size_t first = 0;
  while (first < expr.size() && expr[first].op == Op::kChar)
    prefix_.push_back(expr[first++].unit);
  std::size_t last = expr.size();
  while (last > first && expr[last - 1].op == Op::kChar)
    --last;
  middle_.assign(expr.begin() + static_cast<std::ptrdiff_t>(first),
                 expr.begin() + static_cast<std::ptrdiff_t>(last));
  for (std::size_t i = last; i < expr.size(); ++i)
    suffix_.push_back(expr[i].unit);
  valid_ = true;

  for (std::size_t k = 0; k < middle_.size();) {
    std::size_t run = k;
    while (run < middle_.size() && middle_[run].op == Op::kChar)
      ++run;
    if (run - k > needle_.size()) {
      needle_.clear();
      for (std::size_t j = k; j < run; ++j)
        needle_.push_back(middle_[j].unit);
    }
    k = run + 1;
  }

  if (middle_.size() > kWordSteps) return;
  for (std::size_t k = 0; k < middle_.size(); ++k) {
    const std::uint64_t bit = std::uint64_t{1} << k;
    const Step& step = middle_[k];
    switch (step.op) {
      case Op::kStar:
        stars_ |= bit;
        break;
      case Op::kDosStar:
        dosStars_ |= bit;
        break;
      case Op::kDosQm:
        dosQms_ |= bit;
        break;
      case Op::kDosDot:
        dosDots_ |= bit;
        break;
      case Op::kChar: {
        const auto known = std::find_if(chars_.begin(), chars_.end(),
                                        [&](const UnitSteps& u) { return u.unit == step.unit; });
        if (known != chars_.end()) {
          known->steps |= bit;
        } else {
          chars_.push_back({step.unit, bit});
        }
        break;
      }
    }
  }
}

bool WildcardPattern::Matches(const FoldedName& name) const {
  if (!valid_ || !name.valid_) return false;
  const std::u16string& units = name.units_;
  const std::size_t n = units.size();
  if (n == 0) return false;
  if (middle_.empty()) return n == prefix_.size() && SameUnits(units.data(), prefix_);
  if (n < prefix_.size() + suffix_.size()) return false;
  if (!SameUnits(units.data() + n - suffix_.size(), suffix_)) return false;
  if (!SameUnits(units.data(), prefix_)) return false;

  const std::size_t begin = prefix_.size();
  const std::size_t end = n - suffix_.size();
  if (middle_.size() == 1 && middle_[0].op == Op::kStar) return true;
  if (middle_.size() == 1 && middle_[0].op == Op::kDosStar) {
    return end == begin || end <= name.dosStarEnd_;
  }
  if (!needle_.empty() && std::u16string_view(units.data() + begin, end - begin).find(needle_) ==
                              std::u16string_view::npos) {
    return false;
  }
  return middle_.size() <= kWordSteps ? MatchesWordMiddle(name, begin, end)
                                      : MatchesLongMiddle(name, begin, end);
}

// Both matchers simulate the middle expression as a set of states over units [begin, end): state k
// means "steps before k are matched", and every step either takes one unit or is skipped. Each unit
// costs one pass over the set, so no pattern can make matching exponential.

bool WildcardPattern::MatchesWordMiddle(const FoldedName& name, std::size_t begin,
                                        std::size_t end) const {
  const char16_t* units = name.units_.data();
  const std::size_t n = name.units_.size();

  // Adds every state reachable by skipping steps at position i. Skippable steps form runs of set
  // bits; adding the active ones carries each through the rest of its run into the step after it.
  const auto skip = [&](std::uint64_t on, std::size_t i) {
    std::uint64_t skippable = stars_ | dosStars_;
    if (i == n) {
      skippable |= dosQms_ | dosDots_;
    } else if (units[i] == u'.') {
      skippable |= dosQms_;
    }
    return on | ((skippable + (on & skippable)) ^ skippable);
  };

  std::uint64_t on = skip(1, begin);
  for (std::size_t i = begin; i < end; ++i) {
    const char16_t unit = units[i];
    std::uint64_t takes = unit == u'.' ? dosDots_ : dosQms_;
    for (const UnitSteps& c : chars_) {
      if (c.unit == unit) {
        takes |= c.steps;
        break;
      }
    }
    const std::uint64_t stays = stars_ | (i < name.dosStarEnd_ ? dosStars_ : 0);
    on = (on & stays) | ((on & takes) << 1);
    if (on == 0) return false;
    on = skip(on, i + 1);
  }
  return (on >> middle_.size()) & 1;
}

bool WildcardPattern::MatchesLongMiddle(const FoldedName& name, std::size_t begin,
                                        std::size_t end) const {
  const char16_t* units = name.units_.data();
  const std::size_t n = name.units_.size();
  const std::size_t m = middle_.size();
  std::vector<unsigned char> on(m + 1);
  on[0] = 1;

  const auto skip = [&](std::size_t i) {
    for (std::size_t k = 0; k < m; ++k) {
      if (!on[k]) continue;
      bool skippable = false;
      switch (middle_[k].op) {
        case Op::kStar:
        case Op::kDosStar:
          skippable = true;
          break;
        case Op::kDosQm:
          skippable = i == n || units[i] == u'.';
          break;
        case Op::kDosDot:
          skippable = i == n;
          break;
        case Op::kChar:
          break;
      }
      if (skippable) on[k + 1] = 1;
    }
  };

  skip(begin);
  for (std::size_t i = begin; i < end; ++i) {
    const char16_t unit = units[i];
    bool any = false;
    // Descending, so on[k - 1] and on[k] still describe the position before this unit.
    for (std::size_t k = m + 1; k-- > 0;) {
      bool next = false;
      if (k < m && on[k]) {
        const Op op = middle_[k].op;
        next = op == Op::kStar || (op == Op::kDosStar && i < name.dosStarEnd_);
      }
      if (!next && k > 0 && on[k - 1]) {
        const Step& step = middle_[k - 1];
        switch (step.op) {
          case Op::kChar:
            next = unit == step.unit;
            break;
          case Op::kDosQm:
            next = unit != u'.';
            break;
          case Op::kDosDot:
            next = unit == u'.';
            break;
          case Op::kStar:
          case Op::kDosStar:
            break;
        }
      }
      on[k] = next;
      any = any || next;
    }
    if (!any) return false;
    skip(i + 1);
  }
  return on[m] != 0;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  return WildcardPattern(pattern).Matches(name);
}

}  // namespace platform
