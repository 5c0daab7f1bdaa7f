#include <sys/resource.h>

#include "bench/peak_memory.h"

namespace bench {

std::uint64_t PeakMemoryBytes() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // Linux counts in kilobytes
}

}  // namespace bench
