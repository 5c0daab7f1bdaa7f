// A set of rows of a list held as sorted, disjoint ranges, so that selecting all of 100,000 rows
// costs one range rather than 100,000 flags.
#pragma once

#include <vector>

namespace ui {

class RowSet {
 public:
  // Rows first to last, both included.
  struct Range {
    int first = 0;
    int last = 0;
    bool operator==(const Range&) const = default;
  };

  int Count() const;
  bool Contains(int row) const;
  // The lowest row, or -1 when the set is empty.
  int First() const { return ranges_.empty() ? -1 : ranges_.front().first; }
  // In ascending order; neither overlapping nor touching.
  const std::vector<Range>& Ranges() const { return ranges_; }
  std::vector<int> Rows() const;

  // Empty or reversed ranges are ignored.
  void Add(int first, int last);
  void Remove(int first, int last);
  void Clear() { ranges_.clear(); }

  bool operator==(const RowSet&) const = default;

 private:
  std::vector<Range>::iterator FirstEndingFrom(int row, int reach);

  std::vector<Range> ranges_;
};

}  // namespace ui
