// A slow wildcard matcher written from shared/wildcards.md alone: the pattern becomes a list of
// tokens, and the name is matched by carrying the set of reachable positions token by token.
// It shares only the case table with the program (a table of data, not of rules) and decodes
// with the oracle decoder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wildcard.h"
#include "tests/fuzz/utf_oracle.h"

namespace fuzz {

enum class TokenKind { kLiteral, kStar, kDosStar, kDosQm, kDosDot };
struct Token {
  TokenKind kind;
  char16_t unit;
};

// Nothing when the pattern matches no name at all.
inline std::optional<std::vector<Token>> OracleCompile(std::string_view utf8Pattern) {
  std::optional<std::u16string> decoded = OracleDecode(utf8Pattern);
  if (!decoded) return std::nullopt;
  std::u16string pattern = *decoded;
  const bool endedInDot = !pattern.empty() && pattern.back() == u'.';
  while (!pattern.empty() && (pattern.back() == u'.' || pattern.back() == u' '))
    pattern.pop_back();
  if (pattern.empty()) return std::nullopt;
  if (pattern == u"*.*") return std::vector<Token>{{TokenKind::kStar, 0}};
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    const char16_t next = i + 1 < pattern.size() ? pattern[i + 1] : 0;
    TokenKind kind = TokenKind::kLiteral;
    if (c == u'?' || c == u'>') {
      kind = TokenKind::kDosQm;
    } else if (c == u'"' || (c == u'.' && (next == u'?' || next == u'*'))) {
      kind = TokenKind::kDosDot;
    } else if (c == u'<' || (c == u'*' && next == u'.')) {
      kind = TokenKind::kDosStar;
    } else if (c == u'*') {
      kind = TokenKind::kStar;
    }
    tokens.push_back({kind, kind == TokenKind::kLiteral ? platform::UpcaseChar(c) : char16_t{0}});
  }
  if (endedInDot && tokens.back().kind == TokenKind::kStar)
    tokens.back().kind = TokenKind::kDosStar;
  return tokens;
}

inline bool OracleMatches(std::string_view utf8Pattern, std::string_view utf8Name) {
  const std::optional<std::vector<Token>> tokens = OracleCompile(utf8Pattern);
  std::optional<std::u16string> name = OracleDecode(utf8Name);
  if (!tokens || !name || name->empty()) return false;
  for (char16_t& unit : *name)
    unit = platform::UpcaseChar(unit);
  const std::size_t n = name->size();
  const std::size_t lastDot = name->rfind(u'.');
  std::vector<char> at(n + 1, 0);
  at[0] = 1;
  for (const Token& token : *tokens) {
    std::vector<char> next(n + 1, 0);
    for (std::size_t i = 0; i <= n; ++i) {
      if (!at[i]) continue;
      const bool end = i == n;
      switch (token.kind) {
        case TokenKind::kLiteral:
          if (!end && (*name)[i] == token.unit) next[i + 1] = 1;
          break;
        case TokenKind::kStar:
          for (std::size_t k = i; k <= n; ++k)
            next[k] = 1;
          break;
        case TokenKind::kDosStar:
          // Takes name[i, k) as long as no taken character lies past the last dot.
          for (std::size_t k = i; k <= n; ++k) {
            if (k > i && lastDot != std::u16string::npos && k - 1 > lastDot) break;
            next[k] = 1;
          }
          break;
        case TokenKind::kDosQm:
          if (end || (*name)[i] == u'.') {
            next[i] = 1;
          } else {
            next[i + 1] = 1;
          }
          break;
        case TokenKind::kDosDot:
          if (end) {
            next[i] = 1;
          } else if ((*name)[i] == u'.') {
            next[i + 1] = 1;
          }
          break;
      }
    }
    at.swap(next);
  }
  return at[n] != 0;
}

}  // namespace fuzz
