#include "platform/ui/row_set.h"

#include <algorithm>

namespace ui {

int RowSet::Count() const {
  int count = 0;
  for (const Range& range : ranges_)
    count += range.last - range.first + 1;
  return count;
}

bool RowSet::Contains(int row) const {
  // The first range that does not end before the row.
  const auto found =
      std::lower_bound(ranges_.begin(), ranges_.end(), row,
                       [](const Range& range, int value) { return range.last < value; });
  return found != ranges_.end() && found->first <= row;
}

std::vector<int> RowSet::Rows() const {
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(Count()));
  for (const Range& range : ranges_) {
    for (int row = range.first; row <= range.last; ++row)
      rows.push_back(row);
  }
  return rows;
}

// The first range that ends at or after `row` - reach (reach 1 also finds a range that ends
// just before the row); 64-bit, so that the neighbours of INT_MIN and INT_MAX do not wrap.
std::vector<RowSet::Range>::iterator RowSet::FirstEndingFrom(int row, int reach) {
  return std::partition_point(ranges_.begin(), ranges_.end(), [&](const Range& range) {
    return static_cast<long long>(range.last) + reach < row;
  });
}

void RowSet::Add(int first, int last) {
  if (first > last) return;
  // Ranges that overlap or touch the new one merge with it.
  const auto begin = FirstEndingFrom(first, 1);
  auto end = begin;
  Range merged{first, last};
  for (; end != ranges_.end() && static_cast<long long>(end->first) - 1 <= last; ++end) {
    merged.first = std::min(merged.first, end->first);
    merged.last = std::max(merged.last, end->last);
  }
  if (begin + 1 == end) {
    *begin = merged;  // the common case of a row added next to a range: no shifting
    return;
  }
  ranges_.insert(ranges_.erase(begin, end), merged);
}

void RowSet::Remove(int first, int last) {
  if (first > last) return;
  const auto begin = FirstEndingFrom(first, 0);
  auto end = begin;
  while (end != ranges_.end() && end->first <= last)
    ++end;
  if (begin == end) return;
  // What is left of the first and the last range hit: a part before and a part after.
  std::vector<Range> rest;
  if (begin->first < first) rest.push_back({begin->first, first - 1});
  if ((end - 1)->last > last) rest.push_back({last + 1, (end - 1)->last});
  ranges_.insert(ranges_.erase(begin, end), rest.begin(), rest.end());
}

}  // namespace ui
