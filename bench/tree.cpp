#include "bench/tree.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <unordered_set>

#include "platform/sim/sim_system.h"
#include "platform/system.h"
#include "platform/wildcard.h"
#include "settings/list_file.h"

namespace bench {

namespace {

namespace attr = platform::attr;

using Patterns = std::vector<platform::WildcardPattern>;

Patterns Compile(const std::vector<std::string>& patterns) {
  Patterns compiled;
  for (const std::string& pattern : patterns)
    compiled.emplace_back(pattern);
  return compiled;
}

bool AnyMatches(const Patterns& patterns, const platform::FoldedName& name) {
  for (const platform::WildcardPattern& pattern : patterns) {
    if (pattern.Matches(name)) return true;
  }
  return false;
}

// Only the raw output of mt19937 is fixed by the standard; the distributions are not, so the
// reductions are done here to keep a seed's tree the same with every standard library.
class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(engine_() % n); }
  bool Percent(double p) { return Below(1000000) < static_cast<std::uint32_t>(p * 10000); }
  template <typename T>
  const T& Pick(const std::vector<T>& pool) {
    return pool[Below(static_cast<std::uint32_t>(pool.size()))];
  }

 private:
  std::mt19937 engine_;
};

class Names {
 public:
  Names(Random& random, const std::vector<std::string>& junk,
        const std::vector<std::string>& moreJunk, const std::vector<std::string>& exceptionsLower)
      : random_(random),
        junk_(junk),
        moreJunk_(moreJunk),
        junkCompiled_(Compile(junk)),
        moreJunkCompiled_(Compile(moreJunk)),
        exceptions_(exceptionsLower.begin(), exceptionsLower.end()) {}

  // A name that no junk pattern matches and that is no exception.
  std::string Plain(bool folder) {
    for (;;) {
      std::string name = Base(true);
      if (!folder || random_.Percent(10)) {
        if (random_.Percent(85)) name += "." + MixCase(random_.Pick(Extensions()));
      }
      if (IsPlain(name)) return name;
    }
  }

  // A name that a pattern of the list matches.
  std::string Junk(bool more) {
    const std::vector<std::string>& pool = more ? moreJunk_ : junk_;
    const Patterns& compiled = more ? moreJunkCompiled_ : junkCompiled_;
    for (;;) {
      const std::uint32_t index = random_.Below(static_cast<std::uint32_t>(pool.size()));
      std::string name;
      for (char c : pool[index]) {
        if (c == '*') {
          name += Base(false);
        } else if (c == '?') {
          name += Letter();
        } else {
          name += c;
        }
      }
      name = MixCase(name);
      folded_.Assign(name);
      if (!IsDeviceName(name) && compiled[index].Matches(folded_)) return name;
    }
  }

 private:
  static const std::vector<std::string>& Extensions() {
    static const std::vector<std::string> kExtensions = {
        "txt", "dll", "exe", "png", "jpg", "h",   "cpp",      "js",     "json", "xml", "html",
        "css", "dat", "ini", "log", "md",  "pdf", "docx",     "xlsx",   "mp3",  "zip", "cab",
        "mui", "sys", "py",  "ttf", "svg", "db",  "manifest", "config", "inf",  "cat"};
    return kExtensions;
  }

  char Letter() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    return kLetters[random_.Below(sizeof kLetters - 1)];
  }

  // 1 to 60 characters, mostly short; a few names hold a character outside ASCII.
  std::string Base(bool mayHoldBlanks) {
    static const std::vector<std::string> kWide = {
        "\xC3\xA9", "\xC3\xBC", "\xC3\x9F", "\xC3\x84",     "\xC3\xB8",     "\xC3\xB1",
        "\xCE\xB1", "\xCE\xA9", "\xD0\xB4", "\xE4\xB8\xAD", "\xE6\x96\x87", "\xC5\x82"};
    const std::uint32_t kind = random_.Below(10);
    const std::uint32_t length = kind < 4   ? 1 + random_.Below(8)
                                 : kind < 8 ? 9 + random_.Below(12)
                                            : 21 + random_.Below(40);
    std::string base;
    for (std::uint32_t i = 0; i < length; ++i) {
      const std::uint32_t what = random_.Below(100);
      if (what < 3 && mayHoldBlanks && i > 0 && i + 1 < length) {
        base += ' ';
      } else if (what < 6 && i > 0) {
        base += random_.Percent(50) ? '_' : '-';
      } else {
        base += Letter();
      }
    }
    if (random_.Percent(2)) base.insert(random_.Below(length + 1), random_.Pick(kWide));
    return base;
  }

  std::string MixCase(std::string text) {
    const std::uint32_t style = random_.Below(4);  // lower, upper, as made, capitalised
    for (std::size_t i = 0; i < text.size(); ++i) {
      char& c = text[i];
      const bool lower = c >= 'a' && c <= 'z';
      const bool upper = c >= 'A' && c <= 'Z';
      if (style == 0 && upper) c = static_cast<char>(c - 'A' + 'a');
      if ((style == 1 || (style == 3 && i == 0)) && lower) c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
  }

  // Device names stay reserved on Windows even with an extension ("nul.txt").
  static bool IsDeviceName(const std::string& name) {
    const std::string stem = settings::LowerAsciiLetters(name.substr(0, name.find('.')));
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
    return stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
  }

  bool IsPlain(const std::string& name) {
    if (IsDeviceName(name)) return false;
    folded_.Assign(name);
    return !AnyMatches(junkCompiled_, folded_) && !AnyMatches(moreJunkCompiled_, folded_) &&
           exceptions_.count(settings::LowerAsciiLetters(name)) == 0;
  }

  Random& random_;
  const std::vector<std::string>& junk_;
  const std::vector<std::string>& moreJunk_;
  Patterns junkCompiled_;
  Patterns moreJunkCompiled_;
  std::unordered_set<std::string> exceptions_;
  platform::FoldedName folded_;
};

}  // namespace

Tree MakeTree(const TreeShape& shape, const std::vector<std::string>& junk,
              const std::vector<std::string>& moreJunk,
              const std::vector<std::string>& exceptionsLower) {
  Random random(shape.seed);
  Names names(random, junk, moreJunk, exceptionsLower);
  Tree tree;
  tree.folders.push_back({});
  // Names are unique per folder as Windows compares them.
  std::unordered_set<std::string> taken;
  const auto unique = [&](int folder, const std::string& name) {
    return taken.insert(std::to_string(folder) + '\\' + platform::sim::FoldName(name)).second;
  };

  std::vector<int> open = {0};  // folders that may get subfolders
  for (int i = 1; i <= shape.folders; ++i) {
    // A first chain reaches the deepest level; later folders hang below any open folder.
    const int parent =
        i <= shape.maxDepth ? i - 1 : open[random.Below(static_cast<std::uint32_t>(open.size()))];
    TreeFolder folder;
    folder.parent = parent;
    folder.depth = tree.folders[static_cast<std::size_t>(parent)].depth + 1;
    do {
      folder.name = names.Plain(true);
    } while (!unique(parent, folder.name));
    if (random.Percent(5)) folder.attributes = attr::kHidden;
    if (folder.depth < shape.maxDepth) open.push_back(i);
    tree.folders.push_back(std::move(folder));
  }

  // Some folders are crowded, as system and cache folders are.
  std::vector<int> crowded;
  for (int i = 0; i <= shape.folders; ++i) {
    if (random.Percent(2)) crowded.push_back(i);
  }
  if (crowded.empty()) crowded.push_back(0);

  tree.files.reserve(static_cast<std::size_t>(shape.files));
  for (int i = 0; i < shape.files; ++i) {
    TreeFile file;
    file.folder =
        random.Percent(30)
            ? random.Pick(crowded)
            : static_cast<int>(random.Below(static_cast<std::uint32_t>(shape.folders + 1)));
    const std::uint32_t kind = random.Below(1000);
    do {
      file.name = kind < 10 ? names.Junk(false) : kind < 15 ? names.Junk(true) : names.Plain(false);
    } while (!unique(file.folder, file.name));
    file.size = random.Percent(1) ? 0 : 1 + random.Below(random.Percent(1) ? 1u << 24 : 1u << 16);
    if (random.Percent(3)) file.attributes |= attr::kHidden;
    if (random.Percent(2)) file.attributes |= attr::kReadOnly;
    if (random.Percent(1)) file.attributes |= attr::kSystem | attr::kHidden;
    tree.files.push_back(std::move(file));
  }
  return tree;
}

std::size_t ExpectedReviewLines(const Tree& tree, const std::vector<std::string>& patterns,
                                const std::vector<std::string>& exceptionsLower,
                                bool zeroBytePass) {
  const Patterns compiled = Compile(patterns);
  const std::unordered_set<std::string> exceptions(exceptionsLower.begin(), exceptionsLower.end());
  platform::FoldedName folded;
  std::size_t lines = 0;
  for (const TreeFile& file : tree.files) {
    if (file.attributes & (attr::kReadOnly | attr::kSystem)) continue;
    if (exceptions.count(settings::LowerAsciiLetters(file.name)) != 0) continue;
    folded.Assign(file.name);
    const bool matches =
        std::any_of(compiled.begin(), compiled.end(),
                    [&](const platform::WildcardPattern& p) { return p.Matches(folded); });
    if (matches || (zeroBytePass && file.size == 0)) ++lines;
  }
  return lines;
}

Tree MakeJunkTree(int folders, int files, std::uint64_t size) {
  Tree tree;
  tree.folders.push_back({-1, "", 0, 0});
  const int parents = std::max(1, (folders + 9) / 10);
  for (int p = 0; p < parents; ++p)
    tree.folders.push_back({0, "d" + std::to_string(p), 1, 0});
  const int leaves = std::max(1, folders - parents);
  for (int l = 0; l < leaves; ++l)
    tree.folders.push_back({1 + l % parents, "e" + std::to_string(l), 2, 0});
  char name[16];
  for (int f = 0; f < files; ++f) {
    std::snprintf(name, sizeof(name), "f%05d.tmp", f);
    tree.files.push_back({1 + parents + f % leaves, name, size, 0});
  }
  return tree;
}

bool WriteTree(const Tree& tree, const std::string& root, TreeWriter& writer) {
  std::vector<std::string> paths(tree.folders.size());
  paths[0] = root.substr(0, root.size() - 1);
  for (std::size_t i = 1; i < tree.folders.size(); ++i) {
    const TreeFolder& folder = tree.folders[i];
    paths[i] = paths[static_cast<std::size_t>(folder.parent)] + '\\' + folder.name;
    if (!writer.MakeFolder(paths[i], folder.attributes)) return false;
  }
  for (const TreeFile& file : tree.files) {
    if (!writer.MakeFile(paths[static_cast<std::size_t>(file.folder)] + '\\' + file.name, file.size,
                         file.attributes)) {
      return false;
    }
  }
  return true;
}

}  // namespace bench
