// The benchmark's folder tree: made from a seed, so that every run and both backends walk the
// same folders and names, and written through a small interface onto either backend.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct TreeShape {
  std::uint32_t seed = 20240611;
  int folders = 2000;  // below the root
  int files = 200000;
  int maxDepth = 12;  // the root's children are at depth 1
};

struct TreeFolder {
  int parent = -1;  // -1 for the root
  std::string name;
  int depth = 0;
  std::uint32_t attributes = 0;
};

struct TreeFile {
  int folder = 0;
  std::string name;
  std::uint64_t size = 0;
  std::uint32_t attributes = 0;
};

struct Tree {
  std::vector<TreeFolder> folders;  // [0] is the root; parents come before their children
  std::vector<TreeFile> files;

  std::size_t Entries() const { return folders.size() - 1 + files.size(); }
};

// Names of mixed length and case (a few outside ASCII); 1 % of the files carry a name that a
// pattern of `junk` matches and 0.5 % one that a pattern of `moreJunk` matches, and no other
// name matches any of them or equals an exception. Some files are empty, hidden, read-only or
// system; a few folders are hidden.
Tree MakeTree(const TreeShape& shape, const std::vector<std::string>& junk,
              const std::vector<std::string>& moreJunk,
              const std::vector<std::string>& exceptionsLower);

// The lines a walk in review mode puts on the review list: one per file it may take that a
// pattern matches or, with the zero-byte pass on, that is empty; folders are never taken.
std::size_t ExpectedReviewLines(const Tree& tree, const std::vector<std::string>& patterns,
                                const std::vector<std::string>& exceptionsLower, bool zeroBytePass);

// `files` files of `size` bytes named f00000.tmp ..., spread evenly over `folders` folders two
// levels deep (ten to a parent), as a scan's finds or a browser's cache lie.
Tree MakeJunkTree(int folders, int files, std::uint64_t size);

class TreeWriter {
 public:
  virtual ~TreeWriter() = default;
  virtual bool MakeFolder(const std::string& path, std::uint32_t attributes) = 0;
  virtual bool MakeFile(const std::string& path, std::uint64_t size, std::uint32_t attributes) = 0;
};

// Writes every folder and file below `root` (ending with a backslash); false at the first failure.
bool WriteTree(const Tree& tree, const std::string& root, TreeWriter& writer);

}  // namespace bench
