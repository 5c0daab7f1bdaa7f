#include "cleanups/local_state.h"

#include <cstdint>
#include <optional>
#include <span>

#include "platform/utf.h"

namespace cleanups {

namespace {

// A reader of just enough JSON to find one object's keys: values it does not need are skipped,
// nesting is bounded, and anything malformed ends the reading with nothing found.
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  // The keys of the object at `path` (object keys from the top), or nothing.
  std::optional<std::vector<std::string>> KeysAt(std::span<const std::string_view> path) {
    std::vector<std::string> keys;
    if (!Object(path, 0, &keys)) return std::nullopt;
    return keys;
  }

 private:
  static constexpr int kMaxDepth = 64;

  void Blanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n')) {
      ++at_;
    }
  }
  bool Take(char c) {
    Blanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  std::optional<std::uint32_t> Hex4() {
    if (text_.size() - at_ < 4) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[at_++];
      value <<= 4;
      if (c >= '0' && c <= '9') {
        value |= static_cast<std::uint32_t>(c - '0');
      } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
        value |= static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);
      } else {
        return std::nullopt;
      }
    }
    return value;
  }

  std::optional<std::string> String() {
    if (!Take('"')) return std::nullopt;
    std::u16string units;
    std::string out;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') {
        out += platform::Utf16ToUtf8(units);
        return out;
      }
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      if (c != '\\') {
        out += platform::Utf16ToUtf8(units);
        units.clear();
        out += c;
        continue;
      }
      if (at_ >= text_.size()) return std::nullopt;
      const char escaped = text_[at_++];
      if (escaped == 'u') {
        const std::optional<std::uint32_t> unit = Hex4();
        if (!unit) return std::nullopt;
        units += static_cast<char16_t>(*unit);
        continue;
      }
      out += platform::Utf16ToUtf8(units);
      units.clear();
      switch (escaped) {
        case '"':
        case '\\':
        case '/':
          out += escaped;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        default:
          return std::nullopt;
      }
    }
    return std::nullopt;
  }

  bool Value(int depth) {
    Blanks();
    if (at_ >= text_.size() || depth > kMaxDepth) return false;
    const char c = text_[at_];
    if (c == '"') return String().has_value();
    if (c == '{') return Object({}, depth, nullptr);
    if (c == '[') {
      ++at_;
      if (Take(']')) return true;
      do {
        if (!Value(depth + 1)) return false;
      } while (Take(','));
      return Take(']');
    }
    // A number or a literal: its characters up to the next delimiter.
    const std::size_t start = at_;
    while (at_ < text_.size() &&
           std::string_view(",}] \t\r\n").find(text_[at_]) == std::string_view::npos) {
      ++at_;
    }
    return at_ > start;
  }

  // Reads an object. With `keys`, the object at the end of `path` gives its keys there, and on
  // the way the member named by the path's next part is followed; without, it is skipped.
  bool Object(std::span<const std::string_view> path, int depth, std::vector<std::string>* keys) {
    if (depth > kMaxDepth || !Take('{')) return false;
    if (Take('}')) return true;
    do {
      std::optional<std::string> key = String();
      if (!key || !Take(':')) return false;
      Blanks();
      const bool follow =
          keys && !path.empty() && *key == path.front() && at_ < text_.size() && text_[at_] == '{';
      if (keys && path.empty()) keys->push_back(*key);
      if (follow ? !Object(path.subspan(1), depth + 1, keys) : !Value(depth + 1)) return false;
    } while (Take(','));
    return Take('}');
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::vector<std::string> ListedChromiumProfiles(std::string_view localStateJson) {
  if (localStateJson.substr(0, 3) == "\xEF\xBB\xBF") localStateJson.remove_prefix(3);
  constexpr std::string_view kPath[] = {"profile", "info_cache"};
  JsonReader reader(localStateJson);
  return reader.KeysAt(kPath).value_or(std::vector<std::string>());
}

}  // namespace cleanups
